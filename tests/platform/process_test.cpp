#include "platform/process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

#include "support/fake_emulator.h"
#include "support/temp_dir.h"

namespace arcavio::platform {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup)
{
    EXPECT_EQ(splitCommandLine(" game1"), Words{"game1"});
    EXPECT_EQ(splitCommandLine("  game1 -norc"), (Words{"game1", "-norc"}));
    EXPECT_EQ(splitCommandLine("a\t\tb  "), (Words{"a", "b"}));
    EXPECT_EQ(splitCommandLine(""), Words{});
    EXPECT_EQ(splitCommandLine("   "), Words{});
    EXPECT_EQ(splitCommandLine("\"my game\" x"), (Words{"my game", "x"}));
    EXPECT_EQ(splitCommandLine("a\"b c\"d"), Words{"ab cd"});
    EXPECT_EQ(splitCommandLine("\"\" x"), (Words{"", "x"}));
    EXPECT_EQ(splitCommandLine("\"unclosed quote"), Words{"unclosed quote"});
}

TEST(SplitCommandLine, BackslashesEscapeOnlyBeforeAQuote)
{
    EXPECT_EQ(splitCommandLine(R"(C:\MAME\mame.exe)"), Words{R"(C:\MAME\mame.exe)"});
    EXPECT_EQ(splitCommandLine(R"(a\\b)"), Words{R"(a\\b)"});
    EXPECT_EQ(splitCommandLine(R"(a\"b)"), Words{R"(a"b)"});
    EXPECT_EQ(splitCommandLine(R"(a\\\"b)"), Words{R"(a\"b)"});
    EXPECT_EQ(splitCommandLine(R"("a\\" b)"), (Words{R"(a\)", "b"}));
    EXPECT_EQ(splitCommandLine(R"("dir\" x)"), Words{R"(dir" x)"});
    EXPECT_EQ(splitCommandLine(R"("a""b" c)"), (Words{R"(a"b)", "c"}));
}

class RealProcesses : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string log = dir.file("record");

    std::unique_ptr<StartedProcess> start(std::optional<std::string> program,
                                          std::optional<std::string> commandLine,
                                          std::string workingDirectory = {})
    {
        return systemProcesses().createProcess(
            {std::move(program), std::move(commandLine), std::move(workingDirectory), 1});
    }
};

TEST_F(RealProcesses, ProgramGetsTheWordsAfterTheLeadingBlankAndTheWorkingDirectory)
{
    test::FakeEmulatorSettings settings(log, 7);
    const std::string work = dir.mkdir("work");
    auto process = start(test::fakeEmulatorPath(), " game1", work);
    ASSERT_NE(process, nullptr);
    process->wait();
    EXPECT_EQ(process->exitCode(), 7u);
    const auto record = test::readFakeEmulatorRecord(log);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->argv, (Words{test::fakeEmulatorPath(), "game1"}));
    EXPECT_EQ(record->workingDirectory, work);
}

TEST_F(RealProcesses, NoShellReadsTheCommandLine)
{
    test::FakeEmulatorSettings settings(log);
    auto process = start(test::fakeEmulatorPath(), " $(touch pwned); rm *  'x' \"a b\" > out");
    ASSERT_NE(process, nullptr);
    process->wait();
    const auto record = test::readFakeEmulatorRecord(log);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->argv,
              (Words{test::fakeEmulatorPath(), "$(touch", "pwned);", "rm", "*", "'x'", "a b", ">", "out"}));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST_F(RealProcesses, WithoutAProgramTheFirstWordIsTheProgram)
{
    test::FakeEmulatorSettings settings(log);
    auto process = start(std::nullopt, "\"" + test::fakeEmulatorPath() + "\"  -x");
    ASSERT_NE(process, nullptr);
    process->wait();
    const auto record = test::readFakeEmulatorRecord(log);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->argv, (Words{test::fakeEmulatorPath(), "-x"}));

    auto bare = start(test::fakeEmulatorPath(), std::nullopt);
    ASSERT_NE(bare, nullptr);
    bare->wait();
    EXPECT_EQ(test::readFakeEmulatorRecord(log)->argv, Words{test::fakeEmulatorPath()});
}

TEST_F(RealProcesses, WhatCannotBeStartedGivesNothing)
{
    const std::string text = dir.write("notes.txt", "touch ran\n");
    std::filesystem::permissions(text, std::filesystem::perms::owner_all);
    EXPECT_EQ(start(dir.file("missing"), " x"), nullptr);
    EXPECT_EQ(start(dir.path(), " x"), nullptr);
    EXPECT_EQ(start(std::string(), " x"), nullptr);
    EXPECT_EQ(start(std::nullopt, std::nullopt), nullptr);
    EXPECT_EQ(start(std::nullopt, "   "), nullptr);
    // An executable text without an interpreter line is not handed to a shell.
    EXPECT_EQ(start(text, std::nullopt, dir.path()), nullptr);
    EXPECT_EQ(start(test::fakeEmulatorPath(), std::nullopt, dir.file("no-such-dir")), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("ran")));
}

TEST_F(RealProcesses, ExitCodeWithoutWaitingIsStillActive)
{
    test::FakeEmulatorSettings settings(log, 3, 400);
    auto process = start(test::fakeEmulatorPath(), std::nullopt);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->exitCode(), kStillActive);
    process->wait();
    EXPECT_EQ(process->exitCode(), 3u);
}

// Our standard error goes to a file for the lifetime of the object.
class CapturedErrorOutput {
  public:
    explicit CapturedErrorOutput(const std::string& path) : saved_(::dup(STDERR_FILENO))
    {
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(file, STDERR_FILENO);
        ::close(file);
    }
    ~CapturedErrorOutput()
    {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    CapturedErrorOutput(const CapturedErrorOutput&) = delete;
    CapturedErrorOutput& operator=(const CapturedErrorOutput&) = delete;

  private:
    int saved_;
};

TEST_F(RealProcesses, KeptErrorTailOfAChildThatWritesMegabytesWhileWeWaitAndTheBytesStillReachUs)
{
    const std::string script = dir.write("loud.sh", "head -c 3000000 /dev/zero | tr '\\0' x >&2\n"
                                                    "printf 'Fatal error: the end' >&2\n"
                                                    "exit 2\n");
    const std::string captured = dir.file("stderr");
    std::string tail, untouched;
    {
        CapturedErrorOutput redirect(captured);
        ProcessRequest request{"/bin/sh", " " + script, {}, 1, 64};
        auto process = systemProcesses().createProcess(request);
        ASSERT_NE(process, nullptr);
        process->wait();
        EXPECT_EQ(process->exitCode(), 2u);
        tail = process->errorTail();

        auto plain = start("/bin/sh", " -c \"printf plain >&2; exit 1\"");
        ASSERT_NE(plain, nullptr);
        plain->wait();
        untouched = plain->errorTail();
    }
    EXPECT_EQ(tail, std::string(64 - 20, 'x') + "Fatal error: the end");
    EXPECT_EQ(untouched, "");
    EXPECT_EQ(std::filesystem::file_size(captured), 3000000u + 20u + 5u);
}

TEST_F(RealProcesses, AGrandchildHoldingTheErrorPipeDoesNotHoldTheWait)
{
    const std::string pidFile = dir.file("grandchild");
    const std::string script = dir.write("leaves.sh", "sleep 30 </dev/null >/dev/null &\necho $! > '" +
                                                          pidFile + "'\necho started >&2\nexit 3\n");
    ProcessRequest request{"/bin/sh", " " + script, {}, 1, 4096};
    auto process = systemProcesses().createProcess(request);
    ASSERT_NE(process, nullptr);
    const auto before = std::chrono::steady_clock::now();
    process->wait();
    const auto waited = std::chrono::steady_clock::now() - before;
    EXPECT_EQ(process->exitCode(), 3u);
    EXPECT_EQ(process->errorTail(), "started\n");
    EXPECT_LT(waited, std::chrono::seconds(3));

    std::ifstream in(pidFile);
    int grandchild = 0;
    ASSERT_TRUE(in >> grandchild);
    EXPECT_EQ(::kill(grandchild, 0), 0) << "the grandchild still runs, holding the pipe";
    ::kill(grandchild, SIGKILL);
}

TEST(FindExecutable, OnlyAnExecutableFileIsItsOwnProgram)
{
    test::TempDir dir;
    const std::string program = dir.write("mame", "x");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    dir.write("game.zip", "x");
    dir.mkdir("folder");
    ProcessServices& services = systemProcesses();
    EXPECT_EQ(services.findExecutable(program, "/"), program);
    EXPECT_EQ(services.findExecutable("mame", dir.path()), dir.file("mame"));
    EXPECT_EQ(services.findExecutable("game.zip", dir.path()), "");
    EXPECT_EQ(services.findExecutable("folder", dir.path()), "");
    EXPECT_EQ(services.findExecutable("missing", dir.path()), "");
    EXPECT_EQ(services.findExecutable("", dir.path()), "");
    EXPECT_FALSE(services.readClassesRootValue("\\.txt"));
}

} // namespace
} // namespace arcavio::platform
