#include <gtest/gtest.h>

#include "app/program.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

using namespace arcavio;

namespace {

std::string languageFile(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "T" + std::to_string(i) + "\r\n";
    return text;
}

} // namespace

// Each window reads its language lines when it is created, so a short file reports the windows'
// first missing lines in the order the windows are made.
TEST(Program, WindowsAreCreatedInTheirFixedOrder)
{
    arcavio::test::TempDir dir;
    dir.write("language.ini", languageFile(3));
    arcavio::test::CurrentDirectory cd(dir.path());
    arcavio::test::RecordingMessages messages;
    Program program;
    EXPECT_EQ(messages.errors, (std::vector<std::string>{
                                   "List index out of bounds (148)", // main window
                                   "List index out of bounds (129)", // help window
                                   "List index out of bounds (133)", // configuration-name dialog
                                   "List index out of bounds (135)", // select-game dialog
                                   "List index out of bounds (161)", // add-a-game dialog
                               }));
    EXPECT_EQ(program.mainWindow.windowTitle(), "T0");
}

TEST(Program, A149LineFileTranslatesTheEarlyWindowsOnly)
{
    arcavio::test::TempDir dir;
    dir.write("language.ini", languageFile(149));
    arcavio::test::CurrentDirectory cd(dir.path());
    arcavio::test::RecordingMessages messages;
    Program program;
    EXPECT_EQ(messages.errors,
              (std::vector<std::string>{"List index out of bounds (158)", "List index out of bounds (161)"}));
    EXPECT_EQ(program.help.windowTitle(), "T129");
    EXPECT_EQ(program.addGame.windowTitle(), "Add a Game");
}
