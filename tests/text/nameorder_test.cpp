#include "text/nameorder.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>
#include <unicode/locid.h>

namespace arcavio {
namespace {

using Names = std::vector<std::string>;

Names sorted(Names names)
{
    sortIgnoringCase(names);
    return names;
}

TEST(NameOrder, AccentedLettersCompareWithoutRegardToCase)
{
    // UTF-8: É is C3 89 and é is C3 A9, so a byte order put Ébc before ébb.
    EXPECT_EQ(sorted({"\xC3\x89" "bc.av2", "\xC3\xA9" "bb.av2"}), (Names{"\xC3\xA9" "bb.av2", "\xC3\x89" "bc.av2"}));
    EXPECT_EQ(sorted({"\xC3\xA9" "bc.av2", "\xC3\x89" "bb.av2"}), (Names{"\xC3\x89" "bb.av2", "\xC3\xA9" "bc.av2"}));
    EXPECT_TRUE(lessIgnoringCase("\xC3\xA9" "bb", "\xC3\x89" "bc"));
    EXPECT_FALSE(lessIgnoringCase("\xC3\x89" "bc", "\xC3\xA9" "bb"));
    // Greek and Cyrillic letters fold too.
    EXPECT_EQ(sorted({"\xCE\xA3" "b", "\xCF\x83" "a"}), (Names{"\xCF\x83" "a", "\xCE\xA3" "b"}));
    EXPECT_EQ(sorted({"\xD0\x96" "b", "\xD0\xB6" "a"}), (Names{"\xD0\xB6" "a", "\xD0\x96" "b"}));
}

TEST(NameOrder, AccentedLettersFollowZInCodePointOrder)
{
    EXPECT_EQ(sorted({"\xC3\x89mile.zip", "zeta.zip", "Zorro.zip", "\xC3\xA9" "clair.zip", "Echo.zip"}),
              (Names{"Echo.zip", "zeta.zip", "Zorro.zip", "\xC3\xA9" "clair.zip", "\xC3\x89mile.zip"}));
    // Below and above the letters, as the ASCII order had them.
    EXPECT_EQ(sorted({"b.zip", "_a.zip", "B2.zip", "1.zip", "~x.zip", "A.zip", "a.zip"}),
              (Names{"1.zip", "_a.zip", "A.zip", "a.zip", "b.zip", "B2.zip", "~x.zip"}));
}

TEST(NameOrder, FullCaseFoldingExpandsSharpS)
{
    EXPECT_EQ(caseFoldedName("Stra\xC3\x9F" "e"), "strasse");
    EXPECT_EQ(caseFoldedName("STRASSE"), "strasse");
    EXPECT_EQ(caseFoldedName("\xE1\xBA\x9E"), "ss") << "capital sharp s";
    // ß is U+00DF, after z; folded to ss it sorts with the s.
    EXPECT_EQ(sorted({"sz.av2", "\xC3\x9F" "a.av2", "st.av2", "sr.av2"}),
              (Names{"sr.av2", "\xC3\x9F" "a.av2", "st.av2", "sz.av2"}));
    // Names that fold alike fall back on their exact text: upper case first, as with ASCII.
    EXPECT_EQ(sorted({"stra\xC3\x9F" "e", "Strasse", "STRASSE", "strasse"}),
              (Names{"STRASSE", "Strasse", "strasse", "stra\xC3\x9F" "e"}));
}

TEST(NameOrder, Windows1252NamesAreDecodedFirst)
{
    // Not valid UTF-8: the bytes C9 and E9 are É and é in Windows-1252.
    EXPECT_EQ(caseFoldedName("\xC9" "bc.av2"), "\xC3\xA9" "bc.av2");
    EXPECT_EQ(sorted({"\xC9" "bc.av2", "\xC3\xA9" "bb.av2", "zed.av2", "\xE9" "ba.av2"}),
              (Names{"zed.av2", "\xE9" "ba.av2", "\xC3\xA9" "bb.av2", "\xC9" "bc.av2"}));
    // 8A is Š (U+0160); 9F is Ÿ (U+0178), which folds to ÿ (U+00FF).
    EXPECT_EQ(caseFoldedName("\x8A"), "\xC5\xA1");
    EXPECT_EQ(sorted({"\x8A" "b", "\xC5\xA1" "a", "\x9F", "\xC3\xBF" "a"}),
              (Names{"\x9F", "\xC3\xBF" "a", "\xC5\xA1" "a", "\x8A" "b"}));
    // A malformed sequence does not swallow the bytes after it.
    EXPECT_EQ(caseFoldedName("A\xC3"), "a\xC3\xA3") << "Ã, folded";
}

TEST(NameOrder, ExactNameBreaksTiesSoTheOrderIsTotal)
{
    EXPECT_EQ(sorted({"a.zip", "A.zip", "A.ZIP", "a.ZIP"}), (Names{"A.ZIP", "A.zip", "a.ZIP", "a.zip"}));
    EXPECT_FALSE(lessIgnoringCase("a.zip", "a.zip"));
    // The same text in two encodings: decoded alike, told apart by their bytes.
    EXPECT_EQ(sorted({"\xE9.zip", "\xC3\xA9.zip"}), (Names{"\xC3\xA9.zip", "\xE9.zip"}));
    // Windows-1252 É against UTF-8 é: by the decoded text, upper case first.
    EXPECT_EQ(sorted({"\xC3\xA9.zip", "\xC9.zip"}), (Names{"\xC9.zip", "\xC3\xA9.zip"}));
    // Whatever order the file system gave, the result is one.
    Names names{"b", "B", "\xC3\x89", "\xC3\xA9", "\xC9", "\xE9", "ss", "\xC3\x9F", "SS", "a", "A"};
    const Names expected = sorted(names);
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(names.begin(), names.end(), random);
        EXPECT_EQ(sorted(names), expected);
    }
    for (std::size_t i = 0; i + 1 < expected.size(); ++i) {
        EXPECT_TRUE(lessIgnoringCase(expected[i], expected[i + 1])) << i;
        EXPECT_FALSE(lessIgnoringCase(expected[i + 1], expected[i])) << i;
    }
}

TEST(NameOrder, TheSystemLocaleDoesNotChangeTheOrder)
{
    const icu::Locale before = icu::Locale::getDefault();
    const Names names{"Iz", "ia", "\xC4\xB0" "b", "\xC4\xB1" "c"};
    const Names usual = sorted(names);
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("tr", "TR"), status);
    ASSERT_TRUE(U_SUCCESS(status));
    EXPECT_EQ(caseFoldedName("I"), "i") << "not the Turkish dotless i";
    EXPECT_EQ(sorted(names), usual);
    icu::Locale::setDefault(before, status);
}

} // namespace
} // namespace arcavio
