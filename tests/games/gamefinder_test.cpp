#include "games/gamefinder.h"

#include <gtest/gtest.h>

namespace arcavio {
namespace {

using Rows = std::vector<std::size_t>;

TEST(GameFinder, FindsRowsByPartOfTheirNameOrZipWithoutRegardToCaseAndAccents)
{
    const GameRows rows{{"Pac-Man", "Ms. Pac-Man", "P\u00C1\x43-LAND", "Stra\u00DFenk\u00E4mpfer", "Galaga",
                         "\xC9t\xE9 (Windows-1252)", "\uFF30\uFF41\uFF43 wide", "", "Zeta"},
                        {"pacman.zip", "mspacman.zip", "paclnd.zip", "strasse.zip", "galaga.zip", "ete.zip",
                         "wide.zip", "game1.zip", "A.zip"}};
    const GameFinder finder(rows);
    ASSERT_EQ(finder.size(), rows.names.size());

    EXPECT_EQ(finder.rowsContaining("pac"), (Rows{0, 1, 2, 6})) << "rows in their order";
    EXPECT_EQ(finder.rowsContaining("P\u00E1c"), (Rows{0, 1, 2, 6})) << "the typed text folds alike";
    EXPECT_EQ(finder.rowsContaining("STRASSENKAMP"), (Rows{3}));
    EXPECT_EQ(finder.rowsContaining("ete"), (Rows{5})) << "bytes that are not UTF-8 read as Windows-1252";
    // By the zip's set name: the row of an empty name too, and never by ".zip".
    EXPECT_EQ(finder.rowsContaining("me1"), (Rows{7}));
    EXPECT_EQ(finder.rowsContaining("zip"), Rows{});
    EXPECT_EQ(finder.rowsContaining("Z"), (Rows{8}));
    // No match runs from the name into the zip.
    EXPECT_EQ(finder.rowsContaining("zetaa"), Rows{});
    EXPECT_EQ(finder.rowsContaining("galagag"), Rows{});
    EXPECT_EQ(finder.rowsContaining("").size(), rows.names.size());
    EXPECT_EQ(GameFinder().rowsContaining("a"), Rows{});
}

} // namespace
} // namespace arcavio
