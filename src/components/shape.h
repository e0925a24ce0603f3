#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace arcavio {

struct ShapeRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ShapeRect&, const ShapeRect&) = default;
};

// The shape of a keyed picture: its rectangle less every pixel whose value equals the top-left
// pixel's. One pass over the rows. The result is y-x banded, as window systems want regions:
// rows with the same runs form one band, the rectangles of a band share top and height, are
// sorted by left and never touch; bands are sorted by top and two neighbouring bands differ.
// `stride` counts pixels from one row to the next. An empty picture gives no rectangle.
std::vector<ShapeRect> keyedShape(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride);

} // namespace arcavio
