#include "components/shape.h"

#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace arcavio {
namespace {

struct Picture {
    int width;
    int height;
    int stride;
    std::vector<std::uint32_t> pixels;

    Picture(int w, int h, int padding = 0) : width(w), height(h), stride(w + padding)
    {
        pixels.assign(static_cast<std::size_t>(stride * h), 0);
    }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * stride + x)]; }
    std::vector<ShapeRect> shape() const { return keyedShape(pixels.data(), width, height, stride); }
};

// Paints the rectangles into a coverage map, failing on any overlap.
std::vector<int> coverage(const std::vector<ShapeRect>& rects, int width, int height)
{
    std::vector<int> covered(static_cast<std::size_t>(width * height), 0);
    for (const ShapeRect& r : rects)
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x) {
                EXPECT_TRUE(x >= 0 && x < width && y >= 0 && y < height) << x << "," << y;
                if (x >= 0 && x < width && y >= 0 && y < height)
                    ++covered[static_cast<std::size_t>(y * width + x)];
            }
    return covered;
}

void expectExactShape(Picture& picture)
{
    const auto rects = picture.shape();
    const auto covered = coverage(rects, picture.width, picture.height);
    const std::uint32_t key = picture.at(0, 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ASSERT_EQ(covered[static_cast<std::size_t>(y * picture.width + x)],
                      picture.at(x, y) == key ? 0 : 1)
                << "pixel " << x << "," << y;
}

// The banded form a region can take as it is: same top and height within a band, sorted by
// left, never touching; bands in order of top, not overlapping, and touching bands differ.
void expectBanded(const std::vector<ShapeRect>& rects)
{
    std::vector<std::vector<ShapeRect>> bands;
    for (const ShapeRect& r : rects) {
        ASSERT_GT(r.width, 0);
        ASSERT_GT(r.height, 0);
        if (bands.empty() || bands.back().front().top != r.top) {
            bands.push_back({r});
            continue;
        }
        const ShapeRect& previous = bands.back().back();
        ASSERT_EQ(previous.height, r.height);
        ASSERT_LT(previous.left + previous.width, r.left);
        bands.back().push_back(r);
    }
    for (std::size_t i = 1; i < bands.size(); ++i) {
        const ShapeRect& above = bands[i - 1].front();
        const ShapeRect& below = bands[i].front();
        ASSERT_LE(above.top + above.height, below.top);
        if (above.top + above.height == below.top) {
            bool same = bands[i - 1].size() == bands[i].size();
            for (std::size_t k = 0; same && k < bands[i].size(); ++k)
                same = bands[i - 1][k].left == bands[i][k].left && bands[i - 1][k].width == bands[i][k].width;
            EXPECT_FALSE(same) << "bands at " << above.top << " and " << below.top << " should be one";
        }
    }
}

TEST(KeyedShape, NothingToShape)
{
    EXPECT_TRUE(keyedShape(nullptr, 5, 5, 5).empty());
    Picture empty(0, 0);
    EXPECT_TRUE(empty.shape().empty());
    Picture one(1, 1);
    one.at(0, 0) = 0xff123456;
    EXPECT_TRUE(one.shape().empty());
    Picture single(31, 23);
    for (auto& pixel : single.pixels)
        pixel = 0xffffffff;
    EXPECT_TRUE(single.shape().empty());
}

TEST(KeyedShape, UniqueTopLeftColourLosesOnePixel)
{
    Picture picture(7, 5);
    for (auto& pixel : picture.pixels)
        pixel = 0xff000000;
    picture.at(0, 0) = 0xffffffff;
    const auto rects = picture.shape();
    const std::vector<ShapeRect> expected{{1, 0, 6, 1}, {0, 1, 7, 4}};
    EXPECT_EQ(rects, expected);
}

TEST(KeyedShape, EveryColourBitCounts)
{
    Picture picture(4, 1);
    picture.at(0, 0) = 0xff808080;
    picture.at(1, 0) = 0xff808081;
    picture.at(2, 0) = 0x7f808080;
    picture.at(3, 0) = 0xff808080;
    const std::vector<ShapeRect> expected{{1, 0, 2, 1}};
    EXPECT_EQ(picture.shape(), expected);
}

TEST(KeyedShape, RowsBeyondTheWidthAreIgnored)
{
    Picture picture(3, 3, 2);
    for (int y = 0; y < 3; ++y) {
        picture.at(3, y) = 0xff0000ff;
        picture.at(4, y) = 0xff00ff00;
    }
    picture.at(1, 1) = 0xffff0000;
    const std::vector<ShapeRect> expected{{1, 1, 1, 1}};
    EXPECT_EQ(picture.shape(), expected);
}

TEST(KeyedShape, MatchesThePixelRuleOnVariedPictures)
{
    std::mt19937 random(20240611);
    std::vector<Picture> pictures;
    for (int colours : {2, 3, 5}) {
        Picture noise(53, 37, 3);
        std::uniform_int_distribution<int> pick(0, colours - 1);
        for (auto& pixel : noise.pixels)
            pixel = 0xff000000u + static_cast<std::uint32_t>(pick(random)) * 0x111111u;
        pictures.push_back(noise);
    }
    Picture vertical(40, 20);
    Picture horizontal(40, 20);
    Picture checker(16, 16);
    Picture blocks(30, 30);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            vertical.at(x, y) = (x / 3) % 2;
            horizontal.at(x, y) = (y / 2) % 2;
        }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            checker.at(x, y) = (x + y) % 2;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            blocks.at(x, y) = (x >= 5 && x < 25 && y >= 10 && y < 20) || (x == y) ? 7 : 9;
    pictures.insert(pictures.end(), {vertical, horizontal, checker, blocks});

    for (Picture& picture : pictures) {
        SCOPED_TRACE(testing::Message() << picture.width << "x" << picture.height);
        expectExactShape(picture);
        expectBanded(picture.shape());
    }
}

TEST(KeyedShape, EqualRowsShareOneBand)
{
    Picture picture(10, 8);
    for (int y = 2; y < 6; ++y)
        for (int x = 3; x < 7; ++x)
            picture.at(x, y) = 1;
    const std::vector<ShapeRect> expected{{3, 2, 4, 4}};
    EXPECT_EQ(picture.shape(), expected);
}

} // namespace
} // namespace arcavio
