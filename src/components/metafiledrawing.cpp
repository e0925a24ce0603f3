#include "components/metafiledrawing.h"

#include <algorithm>
#include <cmath>

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include "components/metafilerenderer.h"

namespace arcavio {

QImage drawSvg(const std::string& svg)
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
    QImage image(std::clamp(static_cast<int>(std::lround(size.width())), 1, kLargestMetafileSide),
                 std::clamp(static_cast<int>(std::lround(size.height())), 1, kLargestMetafileSide),
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw invalidMetafileError();
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    return image;
}

} // namespace arcavio
