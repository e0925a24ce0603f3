#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

// These tests look at windows as a window manager frames them, so they run on a real X server:
// with-window-manager.sh starts one with openbox and runs them there.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "These tests need an X server with a window manager; run them through "
                             "tests/desktop/with-window-manager.sh.\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
