// Draws the application icon's PNG sizes from its SVG at build time, so that only the SVG is
// kept in the repository:
//   render_icon ICON.svg OUTPUT_DIRECTORY NAME SIZE...
// writes OUTPUT_DIRECTORY/<SIZE>x<SIZE>/apps/NAME.png, the layout of an icon theme.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "render_icon: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need an application object; this tool never shows a window and must run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5)
        return fail(QStringLiteral("usage: render_icon ICON.svg OUTPUT_DIRECTORY NAME SIZE..."));

    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid())
        return fail(QStringLiteral("%1 is not a valid SVG picture").arg(arguments[1]));
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);

    for (qsizetype i = 4; i < arguments.size(); ++i) {
        bool ok = false;
        const int size = arguments[i].toInt(&ok);
        if (!ok || size < 1 || size > 1024)
            return fail(QStringLiteral("'%1' is not a size from 1 to 1024").arg(arguments[i]));
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                                   QPainter::TextAntialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[2]).arg(size);
        if (!QDir().mkpath(folder))
            return fail(QStringLiteral("cannot create %1").arg(folder));
        const QString file = QStringLiteral("%1/%2.png").arg(folder, arguments[3]);
        if (!image.save(file, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(file));
    }
    return 0;
}
