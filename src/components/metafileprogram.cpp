// arcavio-metafile emf|wmf: reads a metafile on its standard input and writes its picture on
// its standard output (see encodeRenderedPicture); exits with 1 when the file cannot be drawn.
// Arcavio runs it under limits, so that a file which crashes or exhausts the libraries costs
// only this process.
#include <cerrno>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <unistd.h>

#include <QGuiApplication>

#include "components/metafileconversion.h"
#include "components/metafiledrawing.h"
#include "components/metafilerenderer.h"

namespace {

bool readInput(std::string& bytes)
{
    char buffer[65536];
    while (true) {
        const ssize_t got = read(0, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > arcavio::kLargestMetafileBytes)
            return false;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

bool writeAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(1, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

int draw(int argc, char** argv)
{
    const std::string_view kind = argc == 2 ? argv[1] : "";
    if (kind != "emf" && kind != "wmf")
        return 2;
    std::string bytes;
    if (!readInput(bytes))
        return 1;
    const std::string svg =
        kind == "emf" ? arcavio::enhancedMetafileToSvg(bytes) : arcavio::metafileToSvg(bytes);
    std::string().swap(bytes);

    // Never a display: the picture is drawn in memory, with the fonts of the system.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    QGuiApplication app(appArgc, argv);
    const QImage image = arcavio::drawSvg(svg);
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(image.constBits());
    const std::size_t count =
        static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height());
    return writeAll(arcavio::encodeRenderedPicture(image.width(), image.height(), {pixels, count})) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    int code = 1;
    try {
        code = draw(argc, argv);
    } catch (const std::exception&) {
        code = 1;
    }
    // Straight out: nothing of the libraries' state is worth tearing down.
    _exit(code);
}
