#include "components/shaperegion.h"

#include <vector>

#include "components/shape.h"

namespace arcavio {

namespace {

constexpr std::size_t kKeptRects = 1 << 17;

// Every colour bit takes part in the comparison, whatever the picture's own format. 32-bit
// pictures are compared as they are (RGB32 keeps its alpha byte at 0xff), others converted.
QImage comparable(const QImage& picture)
{
    if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QRegion keyedRegion(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image = comparable(picture);
    // Kept between calls: a busy picture gives a large list, and fresh memory costs more than
    // the scan itself.
    thread_local std::vector<QRect> rects;
    rects.clear();
    forEachShapeRect(reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(), image.height(),
                     image.bytesPerLine() / 4,
                     [&](const ShapeRect& r) { rects.emplace_back(r.left, r.top, r.width, r.height); });
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    if (rects.capacity() > kKeptRects)
        std::vector<QRect>().swap(rects);
    return region;
}

QRegion keyedRegionPerPixel(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image = comparable(picture);
    const QRgb key = image.pixel(0, 0);
    QRegion region(0, 0, image.width(), image.height());
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == key)
                region -= QRegion(x, y, 1, 1);
    return region;
}

} // namespace arcavio
