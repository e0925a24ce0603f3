#include "components/picturedecoders.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "components/jpegdecode.h"
#include "text/inifile.h"
#include "text/paths.h"

namespace arcavio {

PictureFormat pictureFormatOf(std::string_view path)
{
    const std::string written = extensionOf(path);
    const std::string extension = foldCase(written);
    if (extension == "bmp")
        return PictureFormat::Bitmap;
    if (extension == "ico")
        return PictureFormat::Icon;
    if (extension == "emf")
        return PictureFormat::EnhancedMetafile;
    if (extension == "wmf")
        return PictureFormat::Metafile;
    if (extension == "jpg" || extension == "jpeg")
        return PictureFormat::Jpeg;
    throw PictureError::unknownExtension(written);
}

PictureError invalidIconError()
{
    return PictureError("Icon image is not valid");
}

PictureError invalidMetafileError()
{
    return PictureError("Metafile is not valid");
}

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

} // namespace

RgbPicture decodeJpeg(std::string_view bytes)
{
    ArcavioJpegImage image{};
    const int code =
        arcavio_decode_jpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &image);
    if (code != 0)
        throw PictureError::jpeg(code);
    std::unique_ptr<unsigned char, FreeDeleter> owned(image.pixels);
    RgbPicture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.assign(image.pixels,
                          image.pixels + static_cast<std::size_t>(image.width) * image.height * 3);
    return picture;
}

} // namespace arcavio
