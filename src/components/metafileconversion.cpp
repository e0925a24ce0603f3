#include "components/metafileconversion.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include "components/picturedecoders.h"
#include "platform/guardedcopy.h"

namespace arcavio {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

std::uint32_t readU32(std::string_view bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

struct WmfApi {
    wmfAPI* api = nullptr;
    bool memoryOpen = false;
    ~WmfApi()
    {
        if (api == nullptr)
            return;
        if (memoryOpen)
            wmf_mem_close(api);
        wmf_api_destroy(api);
    }
};

} // namespace

std::string enhancedMetafileToSvg(std::string_view bytes)
{
    // The converter trusts its input's header; check the header record and signature first.
    constexpr std::uint32_t kHeaderRecord = 1;
    constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
    if (bytes.size() < 88 || readU32(bytes, 0) != kHeaderRecord || readU32(bytes, 40) != kSignature ||
        readU32(bytes, 4) < 88 || readU32(bytes, 4) > bytes.size())
        throw invalidMetafileError();

    platform::GuardedCopy contents(bytes);
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = 0;
    options.imgHeight = 0;
    char* out = nullptr;
    std::size_t length = 0;
    const int ok =
        emf2svg(reinterpret_cast<char*>(contents.data()), contents.size(), &out, &length, &options);
    std::unique_ptr<char, FreeDeleter> owned(out);
    if (!ok || out == nullptr || length == 0)
        throw invalidMetafileError();
    return std::string(out, length);
}

std::string metafileToSvg(std::string_view bytes)
{
    if (bytes.empty())
        throw invalidMetafileError();
    platform::GuardedCopy contents(bytes);

    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    WmfApi wmf;
    if (wmf_api_create(&wmf.api, flags, &options) != wmf_E_None)
        throw invalidMetafileError();
    if (wmf_mem_open(wmf.api, contents.data(), static_cast<long>(contents.size())) != wmf_E_None)
        throw invalidMetafileError();
    wmf.memoryOpen = true;

    wmfD_Rect bounds{};
    if (wmf_scan(wmf.api, 0, &bounds) != wmf_E_None)
        throw invalidMetafileError();
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(wmf.api, &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0)
        throw invalidMetafileError();

    wmf_svg_t* device = WMF_SVG_GetData(wmf.api);
    device->bbox = bounds;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    device->out = wmf_stream_create(wmf.api, nullptr);
    if (device->out == nullptr)
        throw invalidMetafileError();
    const wmf_error_t played = wmf_play(wmf.api, 0, &bounds);
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(wmf.api, device->out, &text, &length);
    device->out = nullptr;
    if (played != wmf_E_None || text == nullptr)
        throw invalidMetafileError();
    std::string svg(text, length);
    wmf_free(wmf.api, text);
    return svg;
}

} // namespace arcavio
