#include <gtest/gtest.h>

#include <sstream>

#include "app/commandline.h"
#include "support/fake_emulator.h"
#include "support/temp_dir.h"

using namespace arcavio;
using arcavio::test::readBytes;
using arcavio::test::TempDir;

namespace {

StartOptions options(std::vector<std::string> directories = {})
{
    StartOptions result;
    result.directories = std::move(directories);
    return result;
}

std::string problem(const StartOptions& given)
{
    try {
        planStart(given);
        return {};
    } catch (const UsageError& error) {
        return error.what();
    }
}

} // namespace

TEST(CommandLine, PlansTheStartOrSaysWhyTheOptionsDoNotGoTogether)
{
    TempDir dir;
    EXPECT_EQ(planStart(options()).kind, StartKind::List);
    EXPECT_EQ(planStart(options()).directory, "");
    const StartPlan listed = planStart(options({dir.path()}));
    EXPECT_EQ(listed.kind, StartKind::List);
    EXPECT_EQ(listed.directory, dir.path());
    EXPECT_EQ(problem(options({dir.file("missing")})), "no directory " + dir.file("missing"));
    EXPECT_EQ(problem(options({dir.write("file.av2", "")})), "no directory " + dir.file("file.av2"));
    EXPECT_EQ(problem(options({dir.path(), dir.path()})), "only one DIRECTORY can be listed");

    StartOptions workspace;
    workspace.workspace = true;
    EXPECT_EQ(planStart(workspace).kind, StartKind::Workspace);
    workspace.directories = {dir.path()};
    EXPECT_EQ(problem(workspace), "--workspace lists the workspace: it takes no DIRECTORY");

    StartOptions import;
    import.importNames = "/usr/games/mame";
    import.gameList = dir.file("names.ini");
    EXPECT_EQ(planStart(import).kind, StartKind::ImportNames);
    import.workspace = true;
    EXPECT_EQ(problem(import),
              "--import-names opens no window: it takes neither --workspace nor a DIRECTORY");
    import.workspace = false;
    import.importNames = "";
    EXPECT_EQ(problem(import), "--import-names needs the emulator program");

    StartOptions gameListAlone;
    gameListAlone.gameList = dir.file("names.ini");
    EXPECT_EQ(problem(gameListAlone), "--gamelist goes with --import-names");
}

TEST(CommandLine, ImportReportsProgressAndSummaryOrTheErrorWithItsExitCode)
{
    TempDir dir;
    const std::string gameList = dir.write("gamelist.ini", "[gamelist]\r\nPONG=My Pong\r\n");
    std::ostringstream said;
    EXPECT_EQ(importNamesCommand(test::fakeEmulatorPath(), gameList, said, false), 0);
    EXPECT_NE(said.str().find("arcavio: The emulator listed 6 sets.\narcavio: 5 game names were added to " +
                              gameList + ".\narcavio: 1 set was already named; its name was kept.\n"),
              std::string::npos)
        << said.str();
    EXPECT_NE(readBytes(gameList).find("PONG=My Pong\r\n"), std::string::npos);

    // A failing emulator leaves the file as it was; its complaint is passed on.
    const std::string before = readBytes(gameList);
    {
        const test::FakeEmulatorSettings failing(dir.file("record"), 5);
        const test::FakeListSettings complaint("", "No matching systems found\n");
        std::ostringstream error;
        EXPECT_EQ(importNamesCommand(test::fakeEmulatorPath(), gameList, error, false), 1);
        EXPECT_NE(error.str().find("No matching systems found"), std::string::npos) << error.str();
    }
    std::ostringstream missing;
    EXPECT_EQ(importNamesCommand(dir.file("no-such-mame"), gameList, missing, false), 1);
    EXPECT_NE(missing.str().find("arcavio: "), std::string::npos);
    EXPECT_NE(missing.str().find("no-such-mame"), std::string::npos);
    EXPECT_EQ(readBytes(gameList), before);

    // A long list: progress lines away from a terminal, one redrawn line on one.
    std::string list = "Name:             Description:\n";
    for (int i = 0; i < 25000; ++i)
        list += "set" + std::to_string(i) + "            \"Set " + std::to_string(i) + "\"\n";
    const test::FakeListSettings longList(dir.write("list.txt", list));
    std::ostringstream lines;
    EXPECT_EQ(importNamesCommand(test::fakeEmulatorPath(), dir.file("long.ini"), lines, false), 0);
    EXPECT_NE(lines.str().find("arcavio: 25,000 sets read\n"), std::string::npos) << lines.str();
    EXPECT_EQ(lines.str().find('\r'), std::string::npos);
    std::ostringstream terminal;
    EXPECT_EQ(importNamesCommand(test::fakeEmulatorPath(), dir.file("terminal.ini"), terminal, true), 0);
    EXPECT_NE(terminal.str().find("\rarcavio: 25,000 sets read\narcavio: The emulator listed 25,000 sets."),
              std::string::npos)
        << terminal.str();
}

TEST(CommandLine, ReadsTheArgumentsAsTheBytesGiven)
{
    const CommandLine line =
        readCommandLine({"--import-names", "-mame\xe9", "--gamelist=g\xff\xfe=.ini", "--", "-d"});
    EXPECT_EQ(line.request, CommandLine::Request::Start);
    EXPECT_EQ(line.options.importNames, "-mame\xe9") << "a value is the next word, even one like an option";
    EXPECT_EQ(line.options.gameList, "g\xff\xfe=.ini");
    EXPECT_EQ(line.options.directories, std::vector<std::string>{"-d"});
    EXPECT_EQ(readCommandLine({"-vh", "--workspace"}).request, CommandLine::Request::Help);
    EXPECT_EQ(readCommandLine({"-", "--version"}).options.directories, std::vector<std::string>{"-"});

    const auto refusal = [](const std::vector<std::string>& arguments) {
        try {
            readCommandLine(arguments);
            return std::string();
        } catch (const CommandLineError& error) {
            return std::string(error.what());
        }
    };
    EXPECT_EQ(refusal({"--frob\xe9"}), "Unknown option 'frob\xC3\xA9'.");
    EXPECT_EQ(refusal({"-hq"}), "Unknown option 'q'.");
    EXPECT_EQ(refusal({"--rompath"}), "Missing value after '--rompath'.");
    EXPECT_EQ(refusal({"--workspace=yes"}), "Unexpected value after '--workspace'.");
    EXPECT_EQ(refusal({"--check-sets", "a", "--check-sets", "a"}), "--check-sets can be given only once.");

    // Without a display only a platform that needs none may be tried.
    EXPECT_NE(missingDisplayProblem(nullptr, nullptr, ""), "");
    EXPECT_NE(missingDisplayProblem("wayland-egl;xcb:nograb", nullptr, nullptr), "");
    EXPECT_EQ(missingDisplayProblem("xcb;offscreen", nullptr, nullptr), "");
    EXPECT_EQ(missingDisplayProblem(nullptr, ":0", nullptr), "");
}
