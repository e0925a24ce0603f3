#include "components/shaperegion.h"

#include <vector>

#include "components/shape.h"

namespace arcavio {

namespace {

// Every colour bit takes part in the comparison, whatever the picture's own format.
QImage comparable(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QRegion keyedRegion(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image = comparable(picture);
    const auto rects = keyedShape(reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(),
                                  image.height(), image.bytesPerLine() / 4);
    std::vector<QRect> qrects;
    qrects.reserve(rects.size());
    for (const ShapeRect& r : rects)
        qrects.emplace_back(r.left, r.top, r.width, r.height);
    QRegion region;
    region.setRects(qrects.data(), static_cast<int>(qrects.size()));
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
