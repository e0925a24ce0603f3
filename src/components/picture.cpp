#include "components/picture.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include "components/picturedecoders.h"
#include "platform/filesystem.h"
#include "text/errors.h"

namespace arcavio {

namespace {

// A metafile may claim any size; the picture box never needs more than this on a side.
constexpr int kLargestMetafileSide = 4096;

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

QImage renderSvg(const std::string& svg)
{
    QSvgRenderer renderer(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
    if (!renderer.isValid())
        throw invalidMetafileError();
    QSizeF size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBoxF().size();
    if (size.isEmpty())
        throw invalidMetafileError();
    const double largest = std::max(size.width(), size.height());
    if (largest > kLargestMetafileSide)
        size *= kLargestMetafileSide / largest;
    QImage image(std::max(1, static_cast<int>(std::lround(size.width()))),
                 std::max(1, static_cast<int>(std::lround(size.height()))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
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
        return renderSvg(enhancedMetafileToSvg(bytes));
    case PictureFormat::Metafile:
        return renderSvg(metafileToSvg(bytes));
    }
    throw PictureError::invalidBitmap();
}

QString pictureDialogFilter()
{
    return QStringLiteral("All (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf);;JPEG Image File (*.jpg *.jpeg);;"
                          "Bitmaps (*.bmp);;Icons (*.ico);;Enhanced Metafiles (*.emf);;Metafiles (*.wmf)");
}

} // namespace arcavio
