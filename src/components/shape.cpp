#include "components/shape.h"

#include <algorithm>

namespace arcavio {

namespace {

struct Run {
    int begin;
    int end;
    friend bool operator==(const Run&, const Run&) = default;
};

void rowRuns(const std::uint32_t* row, int width, std::uint32_t key, std::vector<Run>& runs)
{
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && row[x] == key)
            ++x;
        if (x == width)
            break;
        const int begin = x;
        while (x < width && row[x] != key)
            ++x;
        runs.push_back({begin, x});
    }
}

} // namespace

std::vector<ShapeRect> keyedShape(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride)
{
    std::vector<ShapeRect> rects;
    if (pixels == nullptr || width <= 0 || height <= 0)
        return rects;
    const std::uint32_t key = pixels[0];

    std::vector<Run> band;
    std::vector<Run> row;
    int bandTop = 0;
    const auto closeBand = [&](int bottom) {
        for (const Run& run : band)
            rects.push_back({run.begin, bandTop, run.end - run.begin, bottom - bandTop});
    };

    for (int y = 0; y < height; ++y) {
        rowRuns(pixels + y * stride, width, key, row);
        if (y > 0 && row == band)
            continue;
        closeBand(y);
        std::swap(band, row);
        bandTop = y;
    }
    closeBand(height);
    return rects;
}

} // namespace arcavio
