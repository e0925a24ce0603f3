#include "launch/filefilter.h"

#include <gtest/gtest.h>

namespace arcavio {
namespace {

TEST(FileDialogFilter, ExecutablePatternsLoseTheirExtensionOnPosixOnly)
{
    const std::string exe = "MAME Exe Files|*mame*.exe|Exe Files|*.exe|All Files|*.*";
    EXPECT_EQ(fileDialogFilter(exe, PathStyle::Posix),
              "MAME Exe Files (*mame*);;Exe Files (*);;All Files (*)");
    EXPECT_EQ(fileDialogFilter(exe, PathStyle::Windows),
              "MAME Exe Files (*mame*.exe);;Exe Files (*.exe);;All Files (*.*)");
    EXPECT_EQ(fileDialogFilter("DAT Files|*.dat|All Files|*.*", PathStyle::Posix),
              "DAT Files (*.dat);;All Files (*)");
    EXPECT_EQ(fileDialogFilter("Pictures|*.bmp;*.JPG;*.EXE", PathStyle::Posix), "Pictures (*.bmp *.JPG *)");
    EXPECT_EQ(fileDialogFilter("", PathStyle::Posix), "");
}

} // namespace
} // namespace arcavio
