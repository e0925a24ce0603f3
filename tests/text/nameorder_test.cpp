#include "text/nameorder.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include "text/encoding.h"

namespace arcavio {
namespace {

using Names = std::vector<std::string>;

Names sorted(Names names)
{
    sortIgnoringCase(names);
    return names;
}

// The bytes a file name has when it was written in Windows-1252: not valid UTF-8.
std::string windows1252(std::string_view text)
{
    return utf8ToCp1252(text).value();
}

TEST(NameOrder, AccentedLettersCompareWithoutRegardToCase)
{
    // In UTF-8 É is C3 89 and é is C3 A9, so a byte order put Ébc before ébb.
    EXPECT_EQ(sorted({"\u00C9bc.av2", "\u00E9bb.av2"}), (Names{"\u00E9bb.av2", "\u00C9bc.av2"}));
    EXPECT_EQ(sorted({"\u00E9bc.av2", "\u00C9bb.av2"}), (Names{"\u00C9bb.av2", "\u00E9bc.av2"}));
    EXPECT_TRUE(lessIgnoringCase("\u00E9bb", "\u00C9bc"));
    EXPECT_FALSE(lessIgnoringCase("\u00C9bc", "\u00E9bb"));
    // Greek and Cyrillic letters fold too.
    EXPECT_EQ(sorted({"\u03A3b", "\u03C3a"}), (Names{"\u03C3a", "\u03A3b"}));
    EXPECT_EQ(sorted({"\u0416b", "\u0436a"}), (Names{"\u0436a", "\u0416b"}));
}

TEST(NameOrder, AccentedLettersFollowZInCodePointOrder)
{
    EXPECT_EQ(sorted({"\u00C9mile.zip", "zeta.zip", "Zorro.zip", "\u00E9clair.zip", "Echo.zip"}),
              (Names{"Echo.zip", "zeta.zip", "Zorro.zip", "\u00E9clair.zip", "\u00C9mile.zip"}));
    // Below and above the letters, as the ASCII order had them.
    EXPECT_EQ(sorted({"b.zip", "_a.zip", "B2.zip", "1.zip", "~x.zip", "A.zip", "a.zip"}),
              (Names{"1.zip", "_a.zip", "A.zip", "a.zip", "b.zip", "B2.zip", "~x.zip"}));
}

TEST(NameOrder, FullCaseFoldingExpandsSharpS)
{
    EXPECT_EQ(caseFoldedName("Stra\u00DFe"), "strasse");
    EXPECT_EQ(caseFoldedName("STRASSE"), "strasse");
    EXPECT_EQ(caseFoldedName("\u1E9E"), "ss") << "capital sharp s";
    // ß is U+00DF, after z; folded to ss it sorts with the s.
    EXPECT_EQ(sorted({"sz.av2", "\u00DFa.av2", "st.av2", "sr.av2"}),
              (Names{"sr.av2", "\u00DFa.av2", "st.av2", "sz.av2"}));
    // Names that fold alike fall back on their exact text: upper case first, as with ASCII.
    EXPECT_EQ(sorted({"stra\u00DFe", "Strasse", "STRASSE", "strasse"}),
              (Names{"STRASSE", "Strasse", "strasse", "stra\u00DFe"}));
}

TEST(NameOrder, Windows1252NamesAreDecodedFirst)
{
    const std::string upperBc = windows1252("\u00C9bc.av2"), lowerBa = windows1252("\u00E9ba.av2");
    ASSERT_EQ(upperBc, std::string(1, '\xC9') + "bc.av2");
    EXPECT_EQ(caseFoldedName(upperBc), "\u00E9bc.av2");
    EXPECT_EQ(sorted({upperBc, "\u00E9bb.av2", "zed.av2", lowerBa}),
              (Names{"zed.av2", lowerBa, "\u00E9bb.av2", upperBc}));
    // Š is 8A in Windows-1252 (U+0160); Ÿ is 9F (U+0178) and folds to ÿ (U+00FF).
    const std::string upperS = windows1252("\u0160b"), upperY = windows1252("\u0178");
    EXPECT_EQ(caseFoldedName(upperS), "\u0161b");
    EXPECT_EQ(sorted({upperS, "\u0161a", upperY, "\u00FFa"}), (Names{upperY, "\u00FFa", "\u0161a", upperS}));
    // A malformed sequence does not swallow the bytes after it: C3 alone is Ã, folded ã.
    EXPECT_EQ(caseFoldedName("A\xC3"), "a\u00E3");
}

TEST(NameOrder, ExactNameBreaksTiesSoTheOrderIsTotal)
{
    EXPECT_EQ(sorted({"a.zip", "A.zip", "A.ZIP", "a.ZIP"}), (Names{"A.ZIP", "A.zip", "a.ZIP", "a.zip"}));
    EXPECT_FALSE(lessIgnoringCase("a.zip", "a.zip"));
    // The same text in two encodings: decoded alike, told apart by their bytes.
    const std::string lowerE = windows1252("\u00E9.zip"), upperE = windows1252("\u00C9.zip");
    EXPECT_EQ(sorted({lowerE, "\u00E9.zip"}), (Names{"\u00E9.zip", lowerE}));
    // Windows-1252 É against UTF-8 é: by the decoded text, upper case first.
    EXPECT_EQ(sorted({"\u00E9.zip", upperE}), (Names{upperE, "\u00E9.zip"}));
    // Whatever order the file system gave, the result is one.
    Names names{"b",      "B",  "\u00C9", "\u00E9", windows1252("\u00C9"), windows1252("\u00E9"), "ss",
                "\u00DF", "SS", "a",      "A"};
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
    const Names names{"Iz", "ia", "\u0130b", "\u0131c"};
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
