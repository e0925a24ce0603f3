#include "components/metafilerenderer.h"

#include <bit>
#include <cstring>

#include "platform/filesystem.h"
#include "text/paths.h"

namespace arcavio {
namespace {

constexpr std::string_view kAnswerMagic = "AVMF";
constexpr std::size_t kAnswerHeaderSize = 12;
constexpr std::size_t kLargestAnswer =
    kAnswerHeaderSize + std::size_t{4} * kLargestMetafileSide * kLargestMetafileSide;

void putU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t getU32(std::string_view bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

bool premultiplied(std::uint32_t pixel)
{
    const std::uint32_t alpha = pixel >> 24;
    return ((pixel >> 16) & 0xFF) <= alpha && ((pixel >> 8) & 0xFF) <= alpha && (pixel & 0xFF) <= alpha;
}

// Generous room for a program built with the sanitizers, which runs several times slower.
constexpr int kSlowdown = platform::kSanitizedBuild ? 4 : 1;

} // namespace

std::string encodeRenderedPicture(int width, int height, std::span<const std::uint32_t> pixels)
{
    std::string answer(kAnswerMagic);
    answer.reserve(kAnswerHeaderSize + pixels.size() * 4);
    putU32(answer, static_cast<std::uint32_t>(width));
    putU32(answer, static_cast<std::uint32_t>(height));
    if constexpr (std::endian::native == std::endian::little) {
        answer.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 4);
    } else {
        for (std::uint32_t pixel : pixels)
            putU32(answer, pixel);
    }
    return answer;
}

ArgbPicture decodeRenderedPicture(std::string_view answer)
{
    if (answer.size() < kAnswerHeaderSize || answer.substr(0, 4) != kAnswerMagic)
        throw invalidMetafileError();
    const std::uint32_t width = getU32(answer, 4);
    const std::uint32_t height = getU32(answer, 8);
    if (width < 1 || height < 1 || width > kLargestMetafileSide || height > kLargestMetafileSide ||
        answer.size() - kAnswerHeaderSize != std::size_t{4} * width * height)
        throw invalidMetafileError();
    ArgbPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(std::size_t{width} * height);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(picture.pixels.data(), answer.data() + kAnswerHeaderSize, picture.pixels.size() * 4);
    } else {
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = getU32(answer, kAnswerHeaderSize + 4 * i);
    }
    for (std::uint32_t pixel : picture.pixels)
        if (!premultiplied(pixel))
            throw invalidMetafileError();
    return picture;
}

MetafileRenderer& metafileRenderer()
{
    // A picture of the largest size with room for the libraries' own copies; a drawing that
    // takes seconds is a hostile one.
    static MetafileRenderer setup{
        {},
        {std::uint64_t{1} << 30, 5 * kSlowdown},
        std::chrono::milliseconds(8000 * kSlowdown),
    };
    return setup;
}

std::string findMetafileProgram()
{
    const std::string directory = platform::programDirectory();
    const std::string beside = joinPath(directory, kMetafileProgramName);
    if (platform::fileExists(beside))
        return beside;
    return joinPath(joinPath(joinPath(directoryPart(directory), "libexec"), "arcavio"), kMetafileProgramName);
}

ArgbPicture renderMetafile(std::string_view bytes, PictureFormat format)
{
    if (bytes.size() > kLargestMetafileBytes)
        throw invalidMetafileError();
    const MetafileRenderer& setup = metafileRenderer();
    platform::ChildRequest request;
    request.program = setup.program.empty() ? findMetafileProgram() : setup.program;
    request.arguments = {format == PictureFormat::EnhancedMetafile ? "emf" : "wmf"};
    request.input = std::string(bytes);
    request.outputCap = kLargestAnswer;
    request.timeout = setup.timeout;
    request.limits = setup.limits;
    const platform::ChildResult result = platform::runChild(std::move(request));
    if (result.end != platform::ChildEnd::Exited || result.exitCode != 0)
        throw invalidMetafileError();
    return decodeRenderedPicture(result.output);
}

} // namespace arcavio
