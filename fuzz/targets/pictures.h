#pragma once

// The picture targets: a picture decoded as the preview decodes it, by its format.
#include <QGuiApplication>
#include <QImage>

#include "components/picture.h"
#include "fuzzing.h"
#include "text/errors.h"

namespace arcavio::fuzz {

inline void decodeAsPreview(std::string_view input, PictureFormat format)
{
    // Image readers of plug-ins need an application; it never opens a display.
    static QGuiApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 1;
        static char name[] = "arcavio-fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    static_cast<void>(application);
    try {
        const QImage image = decodePicture(std::string(input), format);
        FUZZ_CHECK(!image.isNull());
    } catch (const PictureError&) {
    }
}

} // namespace arcavio::fuzz
