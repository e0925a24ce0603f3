#include "platform/textfiles.h"

#include <gtest/gtest.h>

#include "platform/readlimits.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

TEST(TextFiles, LinesAreWrittenWithCrLfAndReadBack)
{
    test::TempDir dir;
    const LineList list{"first", "", " middle ", "l\xC3\xA9"};
    platform::writeLines(dir.file("out.txt"), list);
    EXPECT_EQ(test::readBytes(dir.file("out.txt")), "first\r\n\r\n middle \r\nl\xC3\xA9\r\n");
    EXPECT_EQ(platform::readLines(dir.file("out.txt"), platform::kMebibyte), list);
}

TEST(TextFiles, AFailedWriteKeepsTheOldFileAndNamesThePath)
{
    test::TempDir dir;
    const std::string missing = dir.file("no-such-dir/out.txt");
    try {
        platform::writeLines(missing, LineList{"x"});
        FAIL();
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing);
    }
    // A directory standing where the file should be is not replaced.
    dir.mkdir("taken");
    EXPECT_THROW(platform::writeLines(dir.file("taken"), LineList{"x"}), FileCreateError);
}

TEST(TextFiles, AMissingFileCannotBeOpenedButReadsAsAnEmptyIniFile)
{
    test::TempDir dir;
    EXPECT_THROW(platform::readLines(dir.file("absent"), platform::kMebibyte), FileOpenError);
    const IniFile ini = platform::readIniFile("/nonexistent/dir/skin.ini", platform::kSkinFileLimit);
    EXPECT_FALSE(ini.hasSection("app"));
    EXPECT_EQ(ini.value("app", "width"), "");
}

} // namespace
} // namespace arcavio
