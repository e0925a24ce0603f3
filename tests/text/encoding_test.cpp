#include <gtest/gtest.h>

#include "text/encoding.h"

using namespace arcavio;

TEST(Encoding, Utf8IsKeptAndBomSkipped)
{
    EXPECT_EQ(decodeText("Sugest\xC3\xB5"
                         "es"),
              "Sugest\xC3\xB5"
              "es");
    EXPECT_EQ(decodeText("\xEF\xBB\xBFhello"), "hello");
}

TEST(Encoding, Windows1252IsConverted)
{
    // "doesn´t" as a Windows program wrote it: the acute accent is byte B4.
    EXPECT_EQ(decodeText("doesn\xB4t"), "doesn\xC2\xB4t");
    EXPECT_EQ(decodeText("Padr\xE3o \x80"), "Padr\xC3\xA3o \xE2\x82\xAC");
    EXPECT_EQ(decodeText("\x81"), "\xC2\x81");
}

TEST(Encoding, BackToWindows1252WhenTheTextFits)
{
    EXPECT_EQ(utf8ToCp1252("Padr\xC3\xA3o \xE2\x82\xAC"), std::optional<std::string>("Padr\xE3o \x80"));
    EXPECT_EQ(utf8ToCp1252("\xE6\x97\xA5"), std::nullopt); // a CJK character does not fit
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));                 // overlong form
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));             // surrogate
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x8E\xAE"));
}
