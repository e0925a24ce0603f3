#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "components/picturedecoders.h"
#include "platform/childprocess.h"

// Metafiles are drawn by a separate program, arcavio-metafile, run under limits: the libraries
// that read them do not survive every hostile file, and a picture is only a preview, which
// must never take the program down.
namespace arcavio {

inline constexpr std::string_view kMetafileProgramName = "arcavio-metafile";
// A metafile may claim any size; the picture box never needs more than this on a side.
inline constexpr int kLargestMetafileSide = 4096;
// The metafile program reads no more than this.
inline constexpr std::size_t kLargestMetafileBytes = std::size_t{64} << 20;

// Premultiplied ARGB, one word a pixel (0xAARRGGBB), rows from the top without padding.
struct ArgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The metafile program's answer: "AVMF", the width and the height (32 bits each), then the
// pixels, every number little-endian.
std::string encodeRenderedPicture(int width, int height, std::span<const std::uint32_t> pixels);
// Throws invalidMetafileError() for anything but one whole, well-formed answer: sides from 1
// to kLargestMetafileSide, exactly their pixels, and no colour above its alpha.
ArgbPicture decodeRenderedPicture(std::string_view answer);

// How the metafile program is run.
struct MetafileRenderer {
    std::string program; // empty: findMetafileProgram()
    platform::ChildLimits limits;
    std::chrono::milliseconds timeout;
};
// The process-wide setup; tests point it at a built program or a stand-in.
MetafileRenderer& metafileRenderer();

// Beside this program (a build tree), else <prefix>/libexec/arcavio/ for a program in
// <prefix>/bin/ (an installed copy).
std::string findMetafileProgram();

// Draws an enhanced metafile or a Windows metafile at its own size (at most
// kLargestMetafileSide on a side) through the metafile program. Whatever goes wrong there (a
// refusal, a crash, a limit, the timeout, a malformed answer) throws invalidMetafileError().
ArgbPicture renderMetafile(std::string_view bytes, PictureFormat format);

} // namespace arcavio
