#include "components/picture.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "components/metafilerenderer.h"
#include "components/picturedecoders.h"
#include "platform/filesystem.h"
#include "text/errors.h"

namespace arcavio {

namespace {

QImage readWithQt(const std::string& bytes, const char* format)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

QImage imageFromRgb(const RgbPicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    if (image.isNull())
        throw std::bad_alloc();
    const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.pixels.data() + stride * static_cast<std::size_t>(y), stride, image.scanLine(y));
    return image;
}

QImage imageFromArgb(const ArgbPicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw std::bad_alloc();
    const auto width = static_cast<std::size_t>(picture.width);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.pixels.data() + width * static_cast<std::size_t>(y), width,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}

} // namespace

QImage loadPicture(const std::string& path)
{
    const PictureFormat format = pictureFormatOf(path);
    return decodePicture(platform::readFile(path, platform::kPictureFileLimit), format);
}

QImage decodePicture(const std::string& bytes, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bitmap: {
        QImage image = readWithQt(bytes, "bmp");
        if (image.isNull())
            throw PictureError::invalidBitmap();
        return image;
    }
    case PictureFormat::Icon: {
        QImage image = readWithQt(bytes, "ico");
        if (image.isNull())
            throw invalidIconError();
        return image;
    }
    case PictureFormat::Jpeg:
        return imageFromRgb(decodeJpeg(bytes));
    case PictureFormat::EnhancedMetafile:
    case PictureFormat::Metafile:
        return imageFromArgb(renderMetafile(bytes, format));
    }
    throw PictureError::invalidBitmap();
}

QString pictureDialogFilter()
{
    return QStringLiteral("All (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf);;JPEG Image File (*.jpg *.jpeg);;"
                          "Bitmaps (*.bmp);;Icons (*.ico);;Enhanced Metafiles (*.emf);;Metafiles (*.wmf)");
}

} // namespace arcavio
