#include "components/processlauncher.h"

#include <gtest/gtest.h>
#include <map>

#include "platform/filesystem.h"
#include "support/fake_emulator.h"
#include "support/recording_owner.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using platform::ProcessRequest;
using test::Log;
using test::RecordingOwner;

std::string describe(const ProcessRequest& r)
{
    return (r.program ? "program [" + *r.program + "]" : std::string("no program")) + " " +
           (r.commandLine ? "line [" + *r.commandLine + "]" : std::string("no line"));
}

// Records every request; the attempts listed in `starts` (counted from 0) succeed.
class RecordingPlatform final : public platform::ProcessServices {
  public:
    class Process final : public platform::StartedProcess {
      public:
        Process(RecordingPlatform& owner) : owner_(owner) {}
        void wait() override
        {
            owner_.events.push_back("wait");
            waited_ = true;
        }
        std::uint32_t exitCode() override
        {
            owner_.events.push_back("exit code");
            return waited_ ? owner_.code : platform::kStillActive;
        }

      private:
        RecordingPlatform& owner_;
        bool waited_ = false;
    };

    std::unique_ptr<platform::StartedProcess> createProcess(const ProcessRequest& request) override
    {
        requests.push_back(request);
        attempts.push_back(describe(request));
        const bool ok = starts.count(static_cast<int>(attempts.size()) - 1) > 0;
        events.push_back(ok ? "started" : "failed");
        return ok ? std::make_unique<Process>(*this) : nullptr;
    }
    std::string findExecutable(const std::string& file, const std::string& directory) override
    {
        lookups.push_back(file + " in " + directory);
        return association;
    }
    std::optional<std::string> readClassesRootValue(const std::string& key) override
    {
        keys.push_back(key);
        const auto found = registry.find(key);
        return found == registry.end() ? std::nullopt : std::optional<std::string>(found->second);
    }

    std::set<int> starts;
    std::uint32_t code = 0;
    std::string association;
    std::map<std::string, std::string> registry;
    std::vector<ProcessRequest> requests;
    Log attempts, lookups, keys;
    Log& events;

    explicit RecordingPlatform(Log& log) : events(log) {}
};

class ExecutorTest : public ::testing::Test {
  protected:
    Log events;
    RecordingPlatform platform{events};
    RecordingOwner owner{events};
    ProcessLauncher executor{&owner, platform};
};

TEST_F(ExecutorTest, DefaultsAndShowCodes)
{
    ProcessLauncher fresh;
    EXPECT_EQ(fresh.Visibility, LaunchVisibility::NORMAL);
    EXPECT_TRUE(fresh.HideOwner);
    EXPECT_TRUE(fresh.Wait);
    EXPECT_EQ(fresh.FileName + fresh.LaunchType + fresh.LaunchOperation + fresh.CommandLine, "");

    using V = LaunchVisibility;
    const std::vector<std::pair<V, int>> codes = {{V::HIDE, 0},           {V::SHOWNORMAL, 1},
                                                  {V::NORMAL, 1},         {V::SHOWMINIMIZED, 2},
                                                  {V::SHOWMAXIMIZED, 3},  {V::MAXIMIZE, 3},
                                                  {V::SHOWNOACTIVATE, 4}, {V::SHOW, 5},
                                                  {V::MINIMIZE, 6},       {V::SHOWMINNOACTIVE, 7},
                                                  {V::SHOWNA, 8},         {V::RESTORE, 9},
                                                  {V::SHOWDEFAULT, 10},   {V::MAX, 10}};
    for (const auto& [visibility, code] : codes)
        EXPECT_EQ(showCode(visibility), code);

    platform.starts = {0};
    executor.FileName = "mame";
    executor.Visibility = V::HIDE;
    executor.Execute();
    EXPECT_EQ(platform.requests.back().showCode, 0);
}

TEST_F(ExecutorTest, NamedProgramStartsFirstWithItsBlankLedCommandLineAndHidesTheOwnerWhileWaiting)
{
    platform.starts = {0};
    platform.code = 42;
    executor.FileName = "/opt/mame/mame";
    executor.CommandLine = "game1";
    EXPECT_EQ(executor.Execute(), 42);
    EXPECT_EQ(platform.attempts, Log{"program [/opt/mame/mame] line [ game1]"});
    EXPECT_EQ(platform.requests[0].workingDirectory, platform::currentDirectory());
    EXPECT_EQ(platform.requests[0].showCode, 1);
    EXPECT_EQ(platform.lookups, Log{"/opt/mame/mame in " + platform::currentDirectory()});
    EXPECT_EQ(events, (Log{"started", "hide", "wait", "exit code", "show"}));
    EXPECT_EQ(executor.CommandLine, "game1");
}

TEST_F(ExecutorTest, CommandLineFallbacksInOrder)
{
    platform.association = "/usr/bin/handler";
    executor.FileName = "game.dat";
    executor.CommandLine = "game1";
    const Log all = {"program [game.dat] line [ game1]", "program [/usr/bin/handler] line [ game1]",
                     "no program line [/usr/bin/handler  game1]"};
    for (int success = 1; success <= 2; ++success) {
        platform.attempts.clear();
        platform.starts = {success};
        platform.code = 5;
        EXPECT_EQ(executor.Execute(), 5);
        EXPECT_EQ(platform.attempts, Log(all.begin(), all.begin() + success + 1));
    }
    platform.attempts.clear();
    platform.starts = {};
    events.clear();
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.attempts, all);
    EXPECT_EQ(events, (Log{"failed", "failed", "failed"}));
}

TEST_F(ExecutorTest, EmptyCommandLineFallbacksInOrder)
{
    platform.association = "/usr/bin/handler";
    executor.FileName = "game.dat";
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.attempts, (Log{"program [game.dat] no line", "no program line [game.dat]",
                                      "no program line [/usr/bin/handler game.dat]"}));
    platform.attempts.clear();
    platform.starts = {1};
    EXPECT_EQ(executor.Execute(), 0);
    EXPECT_EQ(platform.attempts.size(), 2u);
}

TEST_F(ExecutorTest, WithoutAnAssociationTheGameNameIsNeverRunAsAProgram)
{
    executor.FileName = "/opt/mame/mame";
    executor.CommandLine = "reboot";
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.attempts,
              (Log{"program [/opt/mame/mame] line [ reboot]", "program [] line [ reboot]"}));
    EXPECT_EQ(events, (Log{"failed", "failed"}));

    platform.attempts.clear();
    executor.CommandLine.clear();
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.attempts,
              (Log{"program [/opt/mame/mame] no line", "no program line [/opt/mame/mame]"}));
}

TEST_F(ExecutorTest, NoFileNameStartsTheAssociationAlone)
{
    platform.association = "/usr/bin/handler";
    platform.starts = {0};
    executor.CommandLine = "ignored";
    EXPECT_EQ(executor.Execute(), 0);
    EXPECT_EQ(platform.attempts, Log{"program [/usr/bin/handler] no line"});
}

TEST_F(ExecutorTest, WithoutWaitingTheOwnerComesBackAtOnceAndTheProcessIsStillActive)
{
    platform.starts = {0};
    executor.FileName = "mame";
    executor.Wait = false;
    EXPECT_EQ(executor.Execute(), 259);
    EXPECT_EQ(events, (Log{"started", "hide", "exit code", "show"}));

    events.clear();
    executor.Wait = true;
    executor.HideOwner = false;
    platform.starts = {1};
    EXPECT_EQ(executor.Execute(), 0);
    EXPECT_EQ(events, (Log{"started", "wait", "exit code"}));
}

TEST_F(ExecutorTest, RegisteredCommandWithPercentTemplate)
{
    platform.registry = {{"\\.zip", "zipfile"}, {"\\zipfile\\shell\\open\\command", "/usr/bin/unz \"%1\""}};
    executor.LaunchType = ".zip";
    executor.CommandLine = "a.zip";
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.keys, (Log{"\\.zip", "\\zipfile\\shell\\open\\command"}));
    EXPECT_EQ(platform.attempts,
              (Log{"program [/usr/bin/unz] line [ a.zip]", "program [/usr/bin/unz  a.zip] no line",
                   "no program line [/usr/bin/unz  a.zip]"}));
    // A start through this form neither hides, waits nor reads an exit code.
    events.clear();
    platform.attempts.clear();
    platform.starts = {2};
    platform.code = 9;
    EXPECT_EQ(executor.Execute(), 0);
    EXPECT_EQ(events, (Log{"failed", "failed", "started"}));

    // A "%" too early for the cut leaves an empty program.
    platform.registry["\\zipfile\\shell\\open\\command"] = "%1";
    platform.attempts.clear();
    platform.starts = {};
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.attempts[0], "program [] line [ a.zip]");
}

TEST_F(ExecutorTest, RegisteredCommandWithQuotedProgramTakesOverItsArguments)
{
    platform.registry = {{"\\.txt", "txtfile"},
                         {"\\txtfile\\shell\\print\\command", "\"/usr/bin/my editor\"   -p -q"}};
    executor.LaunchType = ".txt";
    executor.LaunchOperation = "print";
    executor.CommandLine = "notes.txt";
    platform.starts = {0};
    platform.code = 3;
    EXPECT_EQ(executor.Execute(), 3);
    EXPECT_EQ(platform.keys[1], "\\txtfile\\shell\\print\\command");
    EXPECT_EQ(platform.attempts, Log{"program [/usr/bin/my editor] line [-p -q notes.txt]"});
    EXPECT_EQ(executor.CommandLine, "-p -q notes.txt");
    EXPECT_EQ(events, (Log{"started", "hide", "wait", "exit code", "show"}));

    platform.registry["\\txtfile\\shell\\print\\command"] = "\"/usr/bin/viewer\"   ";
    platform.attempts.clear();
    platform.starts = {};
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.attempts, Log{"program [/usr/bin/viewer] line [-p -q notes.txt]"});
    EXPECT_EQ(executor.CommandLine, "-p -q notes.txt");
}

TEST_F(ExecutorTest, RegisteredCommandThatCannotBeUsed)
{
    executor.LaunchType = ".none";
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(platform.keys, Log{"\\.none"});
    EXPECT_TRUE(platform.attempts.empty());

    platform.registry = {{"\\.cls", "cls"}};
    executor.LaunchType = ".cls";
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_TRUE(platform.attempts.empty());

    // An empty class name or a plain template ends in one attempt without a program.
    platform.registry = {
        {"\\.empty", ""}, {"\\.plain", "plain"}, {"\\plain\\shell\\open\\command", "/bin/plain"}};
    platform.starts = {0, 1};
    executor.CommandLine = "x";
    for (const char* type : {".empty", ".plain"}) {
        executor.LaunchType = type;
        EXPECT_EQ(executor.Execute(), 1);
    }
    EXPECT_EQ(platform.attempts, (Log{"program [] line [x]", "program [] line [x]"}));
    EXPECT_EQ(std::count(events.begin(), events.end(), "hide"), 0);
}

TEST(ExecutorWithRealProcesses, ExitCodeWithWaitAndStillActiveWithout)
{
    test::TempDir dir;
    Log events;
    RecordingOwner owner(events);
    ProcessLauncher executor(&owner);
    executor.FileName = test::fakeEmulatorPath();
    executor.CommandLine = "game1";
    {
        test::FakeEmulatorSettings settings(dir.file("log"), 17);
        EXPECT_EQ(executor.Execute(), 17);
        EXPECT_EQ(test::readFakeEmulatorRecord(dir.file("log"))->argv,
                  (Log{test::fakeEmulatorPath(), "game1"}));
    }
    {
        test::FakeEmulatorSettings settings(dir.file("log2"), 17, 500);
        executor.Wait = false;
        EXPECT_EQ(executor.Execute(), 259);
    }
    EXPECT_EQ(events, (Log{"hide", "show", "hide", "show"}));

    events.clear();
    executor.FileName = dir.file("missing");
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_TRUE(events.empty());
}

TEST(ExecutorWithRealProcesses, KeepsTheEndOfTheErrorOutputOnlyWhenAskedAndWaiting)
{
    Log events;
    RecordingOwner owner(events);
    ProcessLauncher executor(&owner);
    executor.FileName = "/bin/sh";
    executor.CommandLine = "-c \"printf 'ERROR-TAIL-abcdef' >&2; exit 6\"";
    executor.KeepErrorOutput = 6;
    EXPECT_EQ(executor.Execute(), 6);
    EXPECT_EQ(executor.errorOutput(), "abcdef");
    EXPECT_EQ(events, (Log{"hide", "show"}));

    executor.KeepErrorOutput = 0;
    EXPECT_EQ(executor.Execute(), 6);
    EXPECT_EQ(executor.errorOutput(), "");

    Log recorded;
    RecordingPlatform platform(recorded);
    platform.starts = {0, 1};
    ProcessLauncher unwaited(nullptr, platform);
    unwaited.FileName = "mame";
    unwaited.KeepErrorOutput = 100;
    unwaited.Execute();
    unwaited.Wait = false;
    unwaited.Execute();
    ASSERT_EQ(platform.requests.size(), 2u);
    EXPECT_EQ(platform.requests[0].errorTail, 100u);
    EXPECT_EQ(platform.requests[1].errorTail, 0u);
}

} // namespace
} // namespace arcavio
