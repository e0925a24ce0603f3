#include "components/shape.h"

namespace arcavio {

// Branch-free: in a busy picture whether a pixel is kept cannot be predicted.
int detail::rowEdges(const std::uint32_t* row, int width, std::uint32_t key, int* edges)
{
    int count = 0;
    int previous = 0;
    for (int x = 0; x < width; ++x) {
        const int kept = row[x] != key ? 1 : 0;
        edges[count] = x;
        count += kept ^ previous;
        previous = kept;
    }
    edges[count] = width;
    count += previous;
    return count;
}

std::vector<ShapeRect> keyedShape(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride)
{
    std::vector<ShapeRect> rects;
    forEachShapeRect(pixels, width, height, stride, [&](const ShapeRect& r) { rects.push_back(r); });
    return rects;
}

} // namespace arcavio
