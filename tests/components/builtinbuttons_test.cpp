#include "components/builtinbuttons.h"

#include <set>

#include "components/shaperegion.h"

#include <gtest/gtest.h>

namespace arcavio {
namespace {

const ButtonSymbol kSymbols[] = {ButtonSymbol::Run, ButtonSymbol::Edit,    ButtonSymbol::Exclude,
                                 ButtonSymbol::New, ButtonSymbol::Refresh, ButtonSymbol::Kwikstart};

bool black(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

TEST(BuiltinButtons, TwoColourSymbolsWithCheckeredPointerOver)
{
    std::set<QByteArray> distinct;
    for (ButtonSymbol symbol : kSymbols) {
        SCOPED_TRACE(static_cast<int>(symbol));
        const QImage rest = builtinButtonPicture(symbol, ButtonState::Rest);
        const QImage pressed = builtinButtonPicture(symbol, ButtonState::Pressed);
        const QImage over = builtinButtonPicture(symbol, ButtonState::PointerOver);
        ASSERT_EQ(rest.size(), QSize(31, 23));
        ASSERT_EQ(over.size(), QSize(31, 23));
        EXPECT_EQ(pressed, rest);

        int blackPixels = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 31; ++x) {
                const QRgb pixel = rest.pixel(x, y);
                ASSERT_TRUE(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255));
                blackPixels += black(rest, x, y);
                EXPECT_EQ(black(over, x, y), black(rest, x, y) && (x + y) % 2 == 0) << x << "," << y;
            }
        EXPECT_GT(blackPixels, 40);
        EXPECT_FALSE(black(rest, 0, 0));
        // Cropped, exactly the symbol stays.
        int inside = 0;
        const QRegion shape = keyedRegion(rest);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 31; ++x) {
                EXPECT_EQ(shape.contains(QPoint(x, y)), black(rest, x, y));
                inside += shape.contains(QPoint(x, y));
            }
        EXPECT_EQ(inside, blackPixels);

        distinct.insert(QByteArray(reinterpret_cast<const char*>(rest.constBits()),
                                   static_cast<int>(rest.sizeInBytes())));
    }
    EXPECT_EQ(distinct.size(), 6u);
}

} // namespace
} // namespace arcavio
