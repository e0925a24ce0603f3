#include <gtest/gtest.h>

#include "text/errors.h"

using namespace arcavio;

TEST(Errors, MessagesAreTheUserVisibleTexts)
{
    EXPECT_STREQ(ListIndexError(148).what(), "List index out of bounds (148)");
    EXPECT_STREQ(ConvertError::invalidInteger("").what(), "'' is not a valid integer value");
    EXPECT_STREQ(FileOpenError("a.ini").what(), "Cannot open file a.ini");
    EXPECT_STREQ(FileCreateError("/x/mame.ini").what(), "Cannot create file /x/mame.ini");
    EXPECT_STREQ(PictureError::unknownExtension("gif").what(), "Unknown picture file extension (.gif)");
    EXPECT_STREQ(PictureError::invalidBitmap().what(), "Bitmap image is not valid");
    EXPECT_STREQ(PictureError::jpeg(53).what(), "JPEG error #53");
}

TEST(Errors, FullStopAddedOnlyAfterCharactersSortingAfterDot)
{
    EXPECT_EQ(errorBoxText("List index out of bounds (0)"), "List index out of bounds (0)");
    EXPECT_EQ(errorBoxText("'x' is not a valid integer value"), "'x' is not a valid integer value.");
    EXPECT_EQ(errorBoxText("Done."), "Done.");
    EXPECT_EQ(errorBoxText("Really!"), "Really!");
    EXPECT_EQ(errorBoxText("Cannot open file a.ini"), "Cannot open file a.ini.");
    EXPECT_EQ(errorBoxText("JPEG error #53"), "JPEG error #53.");
    EXPECT_EQ(errorBoxText(""), "");
}
