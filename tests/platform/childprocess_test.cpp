#include "platform/childprocess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/fake_emulator.h"
#include "support/temp_dir.h"

namespace arcavio::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kStandIn = ARCAVIO_BUILD_DIR "/tests/support/child_standin";

ChildRequest standIn(std::vector<std::string> arguments)
{
    ChildRequest request;
    request.program = kStandIn;
    request.arguments = std::move(arguments);
    request.timeout = 60s; // a safety net: no test here should come near it
    return request;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(ChildProcess, InputAndOutputTravelBothWaysAtOnce)
{
    // Far more than a pipe holds in either direction, so neither side may wait for the other.
    std::string input(8 << 20, '\0');
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<char>(i * 7 + i / 251);
    ChildRequest request = standIn({"echo"});
    request.input = input;
    const ChildResult result = runChild(std::move(request));
    EXPECT_EQ(result.end, ChildEnd::Exited);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.output == input) << result.output.size();
}

TEST(ChildProcess, EachArgumentIsOneWordAndNoShellReadsIt)
{
    test::TempDir dir;
    test::CurrentDirectory here(dir.path());
    const std::vector<std::string> words = {"a b", "", "$(touch pwned)", "x;touch pwned2", "-", "\"q\" 'r'"};
    const ChildResult result = runChild(standIn([&] {
        std::vector<std::string> arguments = {"args"};
        arguments.insert(arguments.end(), words.begin(), words.end());
        return arguments;
    }()));
    std::string expected;
    for (const std::string& word : words)
        expected += word + '\0';
    EXPECT_EQ(result.output, expected);
    EXPECT_FALSE(std::filesystem::exists(dir.file("pwned")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("pwned2")));
}

TEST(ChildProcess, ReportsHowTheChildEnded)
{
    const ChildResult exited = runChild(standIn({"exit", "7"}));
    EXPECT_EQ(exited.end, ChildEnd::Exited);
    EXPECT_EQ(exited.exitCode, 7);

    const ChildResult crashed = runChild(standIn({"crash"}));
    EXPECT_EQ(crashed.end, ChildEnd::Signalled);
    EXPECT_EQ(crashed.signal, SIGABRT);
}

TEST(ChildProcess, WhatCannotBeStartedIsReportedAsSuch)
{
    test::TempDir dir;
    const std::string text = dir.write("script", "#!/no/such/interpreter\ntouch ran\n");
    std::filesystem::permissions(text, std::filesystem::perms::owner_all);
    const std::string plain = dir.write("plain", "touch ran\n");
    std::filesystem::permissions(plain, std::filesystem::perms::owner_all);
    for (const std::string& program : {dir.file("missing"), dir.path(), text, plain, std::string()}) {
        ChildRequest request;
        request.program = program;
        request.input = "data";
        request.timeout = 10s;
        const ChildResult result = runChild(std::move(request));
        EXPECT_EQ(result.end, ChildEnd::NotStarted) << program;
        EXPECT_EQ(result.output, "") << program;
    }
    // A bare name is not searched for on the PATH.
    ChildRequest bare;
    bare.program = "true";
    EXPECT_EQ(runChild(std::move(bare)).end, ChildEnd::NotStarted);
}

TEST(ChildProcess, SaysWhyAProgramCouldNotBeStarted)
{
    test::TempDir dir;
    ChildRequest missing;
    missing.program = dir.file("missing");
    EXPECT_EQ(runChild(std::move(missing)).startProblem, "No such file or directory");

    const std::string plain = dir.write("plain", "not a program\n");
    std::filesystem::permissions(plain, std::filesystem::perms::owner_read);
    ChildRequest unrunnable;
    unrunnable.program = plain;
    EXPECT_EQ(runChild(std::move(unrunnable)).startProblem, "Permission denied");

    ChildRequest elsewhere = standIn({"where"});
    elsewhere.workingDirectory = dir.file("no-such-folder");
    const ChildResult result = runChild(std::move(elsewhere));
    EXPECT_EQ(result.end, ChildEnd::NotStarted);
    EXPECT_EQ(result.startProblem,
              "cannot enter its directory " + dir.file("no-such-folder") + ": No such file or directory");

    EXPECT_EQ(runChild(standIn({"exit", "0"})).startProblem, "");
}

TEST(ChildProcess, RunsInTheWorkingDirectoryAskedFor)
{
    test::TempDir dir;
    const std::string inside = dir.mkdir("emulator dir");
    ChildRequest request = standIn({"where"});
    request.workingDirectory = inside;
    const ChildResult result = runChild(std::move(request));
    EXPECT_EQ(result.end, ChildEnd::Exited);
    EXPECT_EQ(std::filesystem::path(result.output), std::filesystem::canonical(inside));
    // This program's own directory does not change.
    EXPECT_NE(std::filesystem::current_path(), std::filesystem::canonical(inside));
}

TEST(ChildProcess, KeepsTheStartOfStandardErrorWithoutStalling)
{
    ChildRequest request = standIn({"noisy"});
    request.errorCap = 100;
    const ChildResult result = runChild(std::move(request));
    EXPECT_EQ(result.end, ChildEnd::Exited);
    EXPECT_EQ(result.output, "done");
    EXPECT_EQ(result.errorOutput, std::string(100, 'e'));
}

TEST(ChildProcess, TheDeadlineEndsAChildThatNeverFinishes)
{
    for (const char* mode : {"sleep", "loop"}) {
        ChildRequest request = standIn({mode});
        request.timeout = 300ms;
        const auto start = Clock::now();
        const ChildResult result = runChild(std::move(request));
        EXPECT_EQ(result.end, ChildEnd::TimedOut) << mode;
        EXPECT_LT(secondsSince(start), 5.0) << mode;
    }
}

TEST(ChildProcess, ProcessorAndMemoryLimitsEndAChildThatWouldNot)
{
    ChildRequest spinning = standIn({"loop"});
    spinning.limits.cpuSeconds = 1;
    const ChildResult spun = runChild(std::move(spinning));
    EXPECT_NE(spun.end, ChildEnd::TimedOut);
    EXPECT_NE(spun.end, ChildEnd::Exited);

    ChildRequest greedy = standIn({"allocate"});
    greedy.limits.dataBytes = 256u << 20;
    const auto start = Clock::now();
    const ChildResult fed = runChild(std::move(greedy));
    EXPECT_NE(fed.end, ChildEnd::TimedOut);
    EXPECT_TRUE(fed.end == ChildEnd::Signalled || (fed.end == ChildEnd::Exited && fed.exitCode != 0));
    EXPECT_LT(secondsSince(start), 30.0);
}

TEST(ChildProcess, OutputBeyondTheCapEndsTheChild)
{
    ChildRequest request = standIn({"flood"});
    request.outputCap = 1 << 20;
    const ChildResult result = runChild(std::move(request));
    EXPECT_EQ(result.end, ChildEnd::OutputTooLarge);
    EXPECT_EQ(result.output.size(), std::size_t{1} << 20);

    // Exactly the cap is still a whole answer.
    ChildRequest exact = standIn({"echo"});
    exact.input = std::string(1000, 'y');
    exact.outputCap = 1000;
    const ChildResult whole = runChild(std::move(exact));
    EXPECT_EQ(whole.end, ChildEnd::Exited);
    EXPECT_EQ(whole.output.size(), 1000u);
}

TEST(ChildProcess, OutputArrivesAsItIsWrittenAndCancelStopsTheChild)
{
    ChildProcess child(standIn({"ticks"}));
    std::string output;
    while (output.empty())
        ASSERT_TRUE(child.poll(1s, output));
    EXPECT_EQ(output, "tick\n"); // the first line, long before the fifth
    child.cancel();
    EXPECT_EQ(child.end(), ChildEnd::Cancelled);
    EXPECT_FALSE(child.poll(10ms, output));
}

TEST(ChildProcess, AChildStillRunningIsKilledAndReapedWhenDropped)
{
    pid_t pid = 0;
    {
        ChildProcess child(standIn({"pid"}));
        std::string output;
        while (output.find('\n') == std::string::npos)
            ASSERT_TRUE(child.poll(1s, output));
        pid = std::stoi(output);
        EXPECT_EQ(::kill(pid, 0), 0);
    }
    errno = 0;
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

ChildRequest leavingAChild(const std::string& thenWhat)
{
    ChildRequest request;
    request.program = "/bin/sh";
    request.arguments = {"-c", "sleep 60 & echo $!; " + thenWhat};
    request.timeout = 60s;
    return request;
}

// What a child starts ends with it, whether it ends by itself or this program is ended.
TEST(ChildProcess, WhatTheChildLeftRunningEndsWithIt)
{
    const ChildResult done = runChild(leavingAChild("exit 0"));
    ASSERT_EQ(done.end, ChildEnd::Exited);
    EXPECT_TRUE(test::processGone(std::stoi(done.output)));

    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t asker = fork();
    ASSERT_GE(asker, 0);
    if (asker == 0) {
        ChildProcess child(leavingAChild("exec sleep 60"));
        std::string output;
        while (output.find('\n') == std::string::npos && child.poll(1s, output)) {
        }
        [[maybe_unused]] const ssize_t put = write(report[1], output.data(), output.size());
        pause();
        _exit(0);
    }
    close(report[1]);
    char grandchild[32] = {};
    ASSERT_GT(read(report[0], grandchild, sizeof grandchild - 1), 0);
    close(report[0]);
    ::kill(asker, SIGTERM);
    int status = 0;
    waitpid(asker, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(test::processGone(std::atoi(grandchild)));
}

TEST(ChildProcess, OnlyThePipesAreInherited)
{
    // A descriptor of ours that would survive an exec.
    const int stray = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(stray, 0);
    const ChildResult result = runChild(standIn({"descriptors"}));
    ::close(stray);
    EXPECT_EQ(result.output, "0\n1\n2\n");

    const ChildResult noisy = runChild(standIn({"noisy"}));
    EXPECT_EQ(noisy.end, ChildEnd::Exited);
    EXPECT_EQ(noisy.output, "done");
}

TEST(ChildProcess, AChildThatStopsReadingDoesNotHurtTheCaller)
{
    ChildRequest request = standIn({"partial"});
    request.input = std::string(8 << 20, 'z');
    const ChildResult result = runChild(std::move(request));
    EXPECT_EQ(result.end, ChildEnd::Exited);
    EXPECT_EQ(result.exitCode, 0);
}

} // namespace
} // namespace arcavio::platform
