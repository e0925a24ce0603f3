#include <QApplication>
#include <gtest/gtest.h>

#include "components/metafilerenderer.h"

int main(int argc, char** argv)
{
    // Widget tests never need a display; a test that does asks for one itself.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Pictures previewed in widget tests are drawn by the metafile program of this build.
    arcavio::metafileRenderer().program = ARCAVIO_BUILD_DIR "/arcavio-metafile";
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
