#include "games/nameimportsummary.h"

#include <gtest/gtest.h>

namespace arcavio {
namespace {

TEST(NameImportSummaryText, GroupsDigitsAndAgreesInNumber)
{
    EXPECT_EQ(groupedCount(0), "0");
    EXPECT_EQ(groupedCount(999), "999");
    EXPECT_EQ(groupedCount(1000), "1,000");
    EXPECT_EQ(groupedCount(45123), "45,123");
    EXPECT_EQ(groupedCount(1234567), "1,234,567");

    NameImportSummary one;
    one.setsRead = 1;
    one.counts.added = 1;
    EXPECT_EQ(nameImportSummaryText(one, "gamelist.ini"), "The emulator listed 1 set.\n"
                                                          "1 game name was added to gamelist.ini.\n"
                                                          "No set was named already.");

    // Refused and repeated sets are mentioned only when there were any.
    NameImportSummary many;
    many.setsRead = 45130;
    many.counts = {44000, 1120, 1, 9};
    EXPECT_EQ(nameImportSummaryText(many, "names.ini"),
              "The emulator listed 45,130 sets.\n"
              "44,000 game names were added to names.ini.\n"
              "1,120 sets were already named; their names were kept.\n"
              "1 set was left out: names.ini cannot hold its name.\n"
              "9 sets were listed again; the first listing counts.");
    many.counts = {0, 1, 2, 1};
    many.notSetNames = 4;
    EXPECT_EQ(nameImportSummaryText(many, "gamelist.ini"),
              "The emulator listed 45,130 sets.\n"
              "No game name was added to gamelist.ini.\n"
              "1 set was already named; its name was kept.\n"
              "2 sets were left out: gamelist.ini cannot hold their names.\n"
              "4 lines were skipped: what they name cannot be a set's name.\n"
              "1 set was listed again; the first listing counts.");
}

} // namespace
} // namespace arcavio
