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

namespace detail {
// Where the runs of the row's pixels that differ from key begin and end, alternately; returns
// how many edges it wrote. `edges` holds width + 1 entries.
int rowEdges(const std::uint32_t* row, int width, std::uint32_t key, int* edges);
} // namespace detail

// The shape of a keyed picture: its rectangle less every pixel whose value equals the top-left
// pixel's. One pass over the rows. The rectangles come y-x banded, as window systems keep
// regions: rows with the same runs form one band, the rectangles of a band share top and height,
// are sorted by left and never touch; bands follow each other by top and two touching bands
// differ. `stride` counts pixels from one row to the next. An empty picture gives nothing.
template <class Sink>
void forEachShapeRect(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, Sink&& sink)
{
    if (pixels == nullptr || width <= 0 || height <= 0)
        return;
    const std::uint32_t key = pixels[0];
    std::vector<int> band(static_cast<std::size_t>(width) + 1);
    std::vector<int> row(static_cast<std::size_t>(width) + 1);
    int bandCount = 0;
    int bandTop = 0;
    const auto closeBand = [&](int bottom) {
        for (int i = 0; i + 1 < bandCount; i += 2) {
            const int left = band[static_cast<std::size_t>(i)];
            sink(ShapeRect{left, bandTop, band[static_cast<std::size_t>(i) + 1] - left, bottom - bandTop});
        }
    };
    for (int y = 0; y < height; ++y) {
        const int count = detail::rowEdges(pixels + y * stride, width, key, row.data());
        bool same = y > 0 && count == bandCount;
        for (int i = 0; same && i < count; ++i)
            same = row[static_cast<std::size_t>(i)] == band[static_cast<std::size_t>(i)];
        if (same)
            continue;
        closeBand(y);
        band.swap(row);
        bandCount = count;
        bandTop = y;
    }
    closeBand(height);
}

// The same rectangles, collected.
std::vector<ShapeRect> keyedShape(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride);

} // namespace arcavio
