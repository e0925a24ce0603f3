#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "text/errors.h"

using namespace arcavio;
using arcavio::test::ChildReport;
using arcavio::test::readBytes;
using arcavio::test::runAsUnprivilegedUser;
using arcavio::test::TempDir;

namespace {

struct stat statOf(const std::string& path)
{
    struct stat info {};
    lstat(path.c_str(), &info);
    return info;
}

mode_t modeOf(const std::string& path)
{
    return statOf(path).st_mode & 07777;
}

int entriesIn(const std::string& directory)
{
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory))
        ++entries;
    return entries;
}

std::string cannotCreate(const std::string& path)
{
    return "Cannot create file " + path;
}

// Written by the child itself, so the file is the unprivileged user's own.
std::string writeAs(const std::string& path, std::string_view bytes, mode_t mode)
{
    test::writeBytes(path, bytes);
    chmod(path.c_str(), mode);
    return path;
}

constexpr int kSkipped = 77;

// A mount namespace of the child's own, so it may mount a file system where only it sees it:
// root may make one directly, another user through a user namespace of its own.
std::string enterOwnMountNamespace()
{
    if (unshare(CLONE_NEWNS) != 0) {
        const uid_t user = geteuid();
        const gid_t group = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return "cannot make a mount namespace";
        test::writeBytes("/proc/self/setgroups", "deny");
        test::writeBytes("/proc/self/uid_map", "0 " + std::to_string(user) + " 1");
        test::writeBytes("/proc/self/gid_map", "0 " + std::to_string(group) + " 1");
    }
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return "cannot keep mounts private";
    return {};
}

// Runs the body in a forked child: the report's text, or why the child could not start it.
struct ForkResult {
    bool skipped = false;
    std::string text;
};

ForkResult inChild(const std::function<std::string(ChildReport&)>& body)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {false, "no pipe"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        ChildReport report;
        const std::string skipReason = body(report);
        const std::string& text = skipReason.empty() ? report.text() : skipReason;
        if (!text.empty() && write(channel[1], text.data(), text.size()) < 0)
            _exit(2);
        _exit(skipReason.empty() ? 0 : kSkipped);
    }
    close(channel[1]);
    ForkResult result;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.text.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        result.text += "the child crashed";
    result.skipped = WIFEXITED(status) && WEXITSTATUS(status) == kSkipped;
    return result;
}

} // namespace

TEST(ReplaceFile, KeepsTheModeAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string target = dir.write("c.av2", "old");
    ASSERT_EQ(chmod(target.c_str(), 0604), 0);
    platform::replaceFile(target, "new");
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(modeOf(target), 0604u);
    EXPECT_EQ(entriesIn(dir.path()), 1);

    const mode_t previous = umask(027);
    const std::string fresh = dir.file("fresh.av2");
    platform::replaceFile(fresh, "x");
    umask(previous);
    EXPECT_EQ(modeOf(fresh), 0640u) << "a new file takes the user's default";
}

// What a killed writer left behind goes with the next write into the folder, once no running
// writer can own it; anything else stays.
TEST(ReplaceFile, TakesAwayTheStaleTemporariesOfAnEarlierWriteOnly)
{
    TempDir dir;
    const std::string stale = dir.write(".arcavio-AbC123", "cut short");
    const timespec twoHoursAgo[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, stale.c_str(), twoHoursAgo, 0), 0);
    const std::string fresh = dir.write(".arcavio-Fresh1", "being written");
    const std::string other = dir.write(".arcavio-notours", "the user's");
    ASSERT_EQ(utimensat(AT_FDCWD, other.c_str(), twoHoursAgo, 0), 0);
    ASSERT_EQ(symlink(other.c_str(), dir.file(".arcavio-Link42").c_str()), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, dir.file(".arcavio-Link42").c_str(), twoHoursAgo, AT_SYMLINK_NOFOLLOW), 0);

    platform::replaceFile(dir.file("gamelist.ini"), "[gamelist]\r\n");
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_EQ(readBytes(fresh), "being written");
    EXPECT_EQ(readBytes(other), "the user's");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file(".arcavio-Link42")));
    EXPECT_EQ(entriesIn(dir.path()), 4);
}

TEST(ReplaceFile, KeepsTheOwnerAndGroupWhereTheUserMay)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    TempDir dir;
    const std::string target = dir.write("mame.ini", "old");
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    platform::replaceFile(target, "new");
    const struct stat info = statOf(target);
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST(ReplaceFile, AnotherUsersFileBecomesTheUsersOwnWithoutWideningAccess)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may make a file of another user here";
    TempDir dir;
    test::handToUnprivilegedUser(dir.path());
    // Root's file that everyone may write, with the set-user-id bit and no rights for its group.
    const std::string shared = dir.write("shared.av2", "root's");
    ASSERT_EQ(chmod(shared.c_str(), 04602), 0);
    const std::string report = runAsUnprivilegedUser([&](ChildReport& child) {
        child.expectNoError([&] { platform::replaceFile(shared, "mine"); }, "a file everyone may write");
        const struct stat info = statOf(shared);
        child.expect(readBytes(shared) == "mine", "not replaced");
        child.expect(info.st_uid == geteuid(), "not the user's own");
        child.expect((info.st_mode & 07777) == 0622, "the new group may do more than everyone may");
    });
    EXPECT_EQ(report, "");
}

TEST(ReplaceFile, RefusesAFileTheUserMayNotWrite)
{
    TempDir dir;
    test::handToUnprivilegedUser(dir.path());
    // A file of another user that only they may write, in the user's own directory.
    std::string foreign;
    if (geteuid() == 0) {
        foreign = dir.write("foreign.av2", "theirs");
        ASSERT_EQ(chmod(foreign.c_str(), 0644), 0);
    }
    const std::string report = runAsUnprivilegedUser([&](ChildReport& child) {
        const std::string locked = writeAs(dir.file("locked.av2"), "old", 0444);
        child.expectError([&] { platform::replaceFile(locked, "new"); }, cannotCreate(locked));
        child.expect(readBytes(locked) == "old", "the read-only file was changed");
        child.expect(modeOf(locked) == 0444, "the read-only file lost its mode");
        if (!foreign.empty()) {
            child.expectError([&] { platform::replaceFile(foreign, "new"); }, cannotCreate(foreign));
            child.expect(readBytes(foreign) == "theirs", "another user's file was changed");
        }
        // The control: the same write where the user may.
        const std::string open = writeAs(dir.file("open.av2"), "old", 0640);
        child.expectNoError([&] { platform::replaceFile(open, "new"); }, "a writable file");
        child.expect(readBytes(open) == "new" && modeOf(open) == 0640, "the writable file was not replaced");
    });
    EXPECT_EQ(report, "");
}

TEST(ReplaceFile, RewritesInPlaceInADirectoryTheUserMayNotWrite)
{
    TempDir dir;
    test::handToUnprivilegedUser(dir.path());
    const std::string report = runAsUnprivilegedUser([&](ChildReport& child) {
        const std::string closed = dir.file("closed");
        mkdir(closed.c_str(), 0755);
        const std::string target = writeAs(closed + "/c.av2", "old contents", 0620);
        const ino_t inode = statOf(target).st_ino;
        chmod(closed.c_str(), 0555);
        // The control: nothing new can be created there.
        const std::string fresh = closed + "/fresh.av2";
        child.expectError([&] { platform::replaceFile(fresh, "x"); }, cannotCreate(fresh));
        child.expectNoError([&] { platform::replaceFile(target, "new"); }, "the writable file");
        child.expect(readBytes(target) == "new", "the file was not rewritten");
        child.expect(statOf(target).st_ino == inode, "the file was not rewritten in place");
        child.expect(modeOf(target) == 0620, "the file lost its mode");
        chmod(closed.c_str(), 0755);
    });
    EXPECT_EQ(report, "");
}

TEST(ReplaceFile, AFailedWriteIsReportedAndAReplacementKeepsTheOldFile)
{
    TempDir dir;
    test::handToUnprivilegedUser(dir.path());
    const std::string report = runAsUnprivilegedUser([&](ChildReport& child) {
        const std::string replaced = writeAs(dir.file("replaced.av2"), "old", 0644);
        const std::string closed = dir.file("closed");
        mkdir(closed.c_str(), 0755);
        const std::string inPlace = writeAs(closed + "/c.av2", "old", 0644);
        chmod(closed.c_str(), 0555);

        // The control first: a write within the size limit succeeds either way.
        const std::string small(100, 'a');
        child.expectNoError([&] { platform::replaceFile(replaced, small); }, "a small replacement");
        child.expectNoError([&] { platform::replaceFile(inPlace, small); }, "a small rewrite");
        child.expect(readBytes(replaced) == small && readBytes(inPlace) == small, "the small writes failed");

        // A file size limit makes the next write fail part way, as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string large(5000, 'b');
        const std::string tooLarge = ": the file would be larger than the system allows";
        child.expectError([&] { platform::replaceFile(replaced, large); }, cannotCreate(replaced) + tooLarge);
        child.expect(readBytes(replaced) == small, "a failed replacement lost the old file");
        child.expect(entriesIn(dir.path()) == 2, "a failed replacement left a temporary file");
        child.expectError([&] { platform::replaceFile(inPlace, large); }, cannotCreate(inPlace) + tooLarge);
        chmod(closed.c_str(), 0755);
    });
    EXPECT_EQ(report, "");
}

TEST(ReplaceFile, WritesThroughALinkToItsTarget)
{
    TempDir dir;
    const std::string real = dir.write("real.av2", "old");
    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    const std::string link = dir.file("link.av2");
    ASSERT_EQ(symlink("real.av2", link.c_str()), 0);
    const std::string second = dir.file("second.av2");
    ASSERT_EQ(symlink(link.c_str(), second.c_str()), 0);

    platform::replaceFile(link, "through one link");
    EXPECT_TRUE(S_ISLNK(statOf(link).st_mode));
    EXPECT_EQ(readBytes(real), "through one link");
    EXPECT_EQ(modeOf(real), 0600u);
    platform::replaceFile(second, "through two links");
    EXPECT_TRUE(S_ISLNK(statOf(second).st_mode) && S_ISLNK(statOf(link).st_mode));
    EXPECT_EQ(readBytes(real), "through two links");

    const std::string dangling = dir.file("dangling.av2");
    ASSERT_EQ(symlink("made.av2", dangling.c_str()), 0);
    platform::replaceFile(dangling, "created");
    EXPECT_TRUE(S_ISLNK(statOf(dangling).st_mode));
    EXPECT_EQ(readBytes(dir.file("made.av2")), "created");

    const std::string loop = dir.file("loop.av2");
    ASSERT_EQ(symlink("loop.av2", loop.c_str()), 0);
    EXPECT_THROW(platform::replaceFile(loop, "x"), FileCreateError);
    EXPECT_TRUE(S_ISLNK(statOf(loop).st_mode));
}

TEST(ReplaceFile, NamesUpToTheNameLimitSave)
{
    TempDir dir;
    for (const std::size_t length : {248u, 255u}) {
        const std::string target = dir.file(std::string(length - 4, 'n') + ".av2");
        ASSERT_NO_THROW(platform::replaceFile(target, "first")) << length;
        ASSERT_NO_THROW(platform::replaceFile(target, "second")) << length;
        EXPECT_EQ(readBytes(target), "second");
    }
    const std::string tooLong = dir.file(std::string(252, 'n') + ".av2");
    for (const auto& write : {std::function([&] { platform::replaceFile(tooLong, "x"); }),
                              std::function([&] { platform::checkReplaceable(tooLong); })}) {
        try {
            write();
            ADD_FAILURE() << "no error";
        } catch (const FileCreateError& e) {
            EXPECT_EQ(std::string(e.what()), cannotCreate(tooLong) + ": the name is too long");
        }
    }
    EXPECT_EQ(entriesIn(dir.path()), 2);
}

TEST(ReplaceFile, RefusesADirectoryOrASpecialFile)
{
    TempDir dir;
    const std::string folder = dir.mkdir("folder.av2");
    EXPECT_THROW(platform::replaceFile(folder, "x"), FileCreateError);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    // Nobody reads the pipe: writing into it would wait for ever.
    const std::string pipe = dir.file("pipe.av2");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    alarm(20);
    EXPECT_THROW(platform::replaceFile(pipe, "x"), FileCreateError);
    alarm(0);
    EXPECT_TRUE(S_ISFIFO(statOf(pipe).st_mode));
    EXPECT_THROW(platform::checkReplaceable(folder), FileCreateError);
    EXPECT_THROW(platform::checkReplaceable(pipe), FileCreateError);
    EXPECT_NO_THROW(platform::checkReplaceable(dir.file("fresh.av2")));
    EXPECT_EQ(entriesIn(dir.path()), 2) << "the check leaves nothing behind";
    EXPECT_THROW(platform::replaceFile(dir.file("missing/c.av2"), "x"), FileCreateError);
    EXPECT_THROW(platform::checkReplaceable(dir.file("missing/c.av2")), FileCreateError);
}

// A small file system of the test's own fills up, then becomes read-only: the message says why
// and the old file stays.
TEST(ReplaceFile, SaysWhenTheDeviceIsFullOrReadOnly)
{
    TempDir dir;
    const std::string device = dir.mkdir("device");
    const ForkResult result = inChild([&](ChildReport& child) -> std::string {
        if (const std::string problem = enterOwnMountNamespace(); !problem.empty())
            return problem;
        if (mount("arcavio-test", device.c_str(), "tmpfs", 0, "size=64k") != 0)
            return "cannot mount a small file system";
        const std::string kept = device + "/kept.av2";
        child.expectNoError([&] { platform::replaceFile(kept, "old"); }, "a small write");
        const std::string large(1 << 20, 'x');
        child.expectError([&] { platform::replaceFile(kept, large); },
                          cannotCreate(kept) + ": no space left on the device");
        child.expect(readBytes(kept) == "old", "a write onto a full device lost the old file");
        child.expect(entriesIn(device) == 1, "a write onto a full device left a temporary file");

        if (mount(nullptr, device.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return "cannot make the file system read-only";
        const std::string readOnly = ": the device is read-only";
        child.expectError([&] { platform::replaceFile(kept, "new"); }, cannotCreate(kept) + readOnly);
        const std::string fresh = device + "/fresh.av2";
        child.expectError([&] { platform::checkReplaceable(fresh); }, cannotCreate(fresh) + readOnly);
        child.expectError([&] { platform::createNewFile(fresh, "new"); }, cannotCreate(fresh) + readOnly);
        child.expect(readBytes(kept) == "old", "a write onto a read-only device changed the file");
        return {};
    });
    if (result.skipped)
        GTEST_SKIP() << "this machine lets no test mount a file system of its own: " << result.text;
    EXPECT_EQ(result.text, "");
}
