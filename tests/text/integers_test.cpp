#include <gtest/gtest.h>

#include "text/errors.h"
#include "text/integers.h"

using namespace arcavio;

TEST(Integers, DecimalWithBlanksAndSign)
{
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("007"), 7);
    EXPECT_EQ(parseInteger(" 12"), 12);
    EXPECT_EQ(parseInteger("-32"), -32);
    EXPECT_EQ(parseInteger("+5"), 5);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
}

TEST(Integers, RejectsWhatIsNotAnInteger)
{
    for (const char* bad : {"", " ", "-", "12 ", "640x480", "2147483648", "-2147483649", "$10", "1.5",
                            "99999999999999999999"}) {
        try {
            (void)parseInteger(bad);
            ADD_FAILURE() << bad;
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(Integers, HexadecimalWhereAllowed)
{
    EXPECT_EQ(parseIntegerOrHex("$800000"), 0x800000);
    EXPECT_EQ(parseIntegerOrHex("0x10"), 16);
    EXPECT_EQ(parseIntegerOrHex("0XfF"), 255);
    EXPECT_EQ(parseIntegerOrHex(" -$10"), -16);
    EXPECT_EQ(static_cast<std::uint32_t>(parseIntegerOrHex("$80000005")), 0x80000005u);
    EXPECT_EQ(parseIntegerOrHex("$FFFFFFFF"), -1);
    EXPECT_EQ(parseIntegerOrHex("42"), 42);
    EXPECT_THROW((void)parseIntegerOrHex("$100000000"), ConvertError);
    EXPECT_THROW((void)parseIntegerOrHex("$"), ConvertError);
    EXPECT_THROW((void)parseIntegerOrHex("0x"), ConvertError);
    EXPECT_THROW((void)parseIntegerOrHex("12 "), ConvertError);
}
