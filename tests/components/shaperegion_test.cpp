#include "components/shaperegion.h"

#include <random>

#include <QColor>
#include <QPainter>
#include <gtest/gtest.h>

namespace arcavio {
namespace {

QImage filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void expectSameAsPerPixel(const QImage& picture)
{
    const QRegion fast = keyedRegion(picture);
    const QRegion reference = keyedRegionPerPixel(picture);
    EXPECT_TRUE(fast.xored(reference).isEmpty())
        << picture.width() << "x" << picture.height() << ": " << fast.rectCount() << " against "
        << reference.rectCount() << " rectangles";
    EXPECT_EQ(fast.boundingRect(), reference.boundingRect());
}

TEST(KeyedRegion, EqualsThePerPixelSubtraction)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coin(0, 2);
    QImage noise = filled(47, 29, qRgb(255, 255, 255));
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, coin(random) == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 40 * coin(random)));
    expectSameAsPerPixel(noise);

    QImage stripes = filled(31, 23, qRgb(0, 0, 0));
    QImage bars = stripes;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 31; ++x) {
            if (x % 4 >= 2)
                stripes.setPixel(x, y, qRgb(255, 0, 0));
            if (y % 3 == 1)
                bars.setPixel(x, y, qRgb(255, 0, 0));
        }
    expectSameAsPerPixel(stripes);
    expectSameAsPerPixel(bars);

    QImage drawing = filled(40, 40, qRgb(255, 255, 255));
    {
        QPainter painter(&drawing);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::blue);
        painter.drawEllipse(3, 5, 30, 25);
        painter.drawText(5, 35, QStringLiteral("Ab"));
    }
    expectSameAsPerPixel(drawing);

    expectSameAsPerPixel(filled(1, 1, qRgb(1, 2, 3)));
    expectSameAsPerPixel(filled(12, 9, qRgb(1, 2, 3)));
}

TEST(KeyedRegion, CutsWhatTheTopLeftPixelShows)
{
    QImage picture = filled(9, 6, qRgb(0, 0, 0));
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    QRegion expected(0, 0, 9, 6);
    expected -= QRegion(0, 0, 1, 1);
    EXPECT_EQ(keyedRegion(picture), expected);
    EXPECT_TRUE(keyedRegion(filled(9, 6, qRgb(40, 40, 40))).isEmpty());
    EXPECT_TRUE(keyedRegion(filled(1, 1, qRgb(40, 40, 40))).isEmpty());
    EXPECT_TRUE(keyedRegion(QImage()).isEmpty());
    EXPECT_TRUE(keyedRegionPerPixel(QImage()).isEmpty());
}

// A palette may name one colour twice; the colour decides, not the index.
TEST(KeyedRegion, ComparesColoursNotPaletteIndexes)
{
    QImage picture(6, 4, QImage::Format_Indexed8);
    picture.setColorCount(3);
    picture.setColor(0, qRgb(255, 255, 255));
    picture.setColor(1, qRgb(255, 255, 255));
    picture.setColor(2, qRgb(0, 0, 0));
    picture.fill(0);
    picture.setPixel(1, 0, 1);
    picture.setPixel(3, 2, 2);
    EXPECT_EQ(keyedRegion(picture), QRegion(3, 2, 1, 1));
    expectSameAsPerPixel(picture);
}

} // namespace
} // namespace arcavio
