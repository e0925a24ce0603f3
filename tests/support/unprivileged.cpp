#include "support/unprivileged.h"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <grp.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace arcavio::test {
namespace {

struct UserIds {
    uid_t user;
    gid_t group;
};

UserIds unprivilegedUser()
{
    if (geteuid() != 0)
        return {geteuid(), getegid()};
    if (const passwd* nobody = getpwnam("nobody"); nobody != nullptr && nobody->pw_uid != 0)
        return {nobody->pw_uid, nobody->pw_gid};
    return {65534, 65534}; // an id needs no entry in the user database
}

std::string dropPrivileges()
{
    if (geteuid() != 0)
        return {};
    const UserIds ids = unprivilegedUser();
    if (setgroups(0, nullptr) != 0 || setgid(ids.group) != 0 || setuid(ids.user) != 0)
        return "cannot drop privileges";
    if (setuid(0) == 0 || geteuid() == 0)
        return "privileges were not dropped";
    return {};
}

void writeAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return;
        done += static_cast<std::size_t>(put);
    }
}

} // namespace

void handToUnprivilegedUser(const std::string& path)
{
    if (geteuid() != 0)
        return;
    const UserIds ids = unprivilegedUser();
    if (lchown(path.c_str(), ids.user, ids.group) != 0)
        throw std::runtime_error("cannot hand " + path + " to the unprivileged user");
}

void ChildReport::expect(bool ok, std::string_view what)
{
    if (!ok)
        text_ += std::string(what) + "\n";
}

void ChildReport::expectError(const std::function<void()>& action, std::string_view message)
{
    try {
        action();
        text_ += "no error, expected: " + std::string(message) + "\n";
    } catch (const std::exception& e) {
        if (e.what() != message)
            text_ += "error \"" + std::string(e.what()) + "\", expected: " + std::string(message) + "\n";
    }
}

void ChildReport::expectNoError(const std::function<void()>& action, std::string_view what)
{
    try {
        action();
    } catch (const std::exception& e) {
        text_ += std::string(what) + ": " + e.what() + "\n";
    }
}

std::string runAsUnprivilegedUser(const std::function<void(ChildReport&)>& body)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "cannot create a pipe";
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return "cannot fork";
    }
    if (child == 0) {
        close(channel[0]);
        ChildReport report;
        const std::string dropped = dropPrivileges();
        if (dropped.empty()) {
            try {
                body(report);
            } catch (const std::exception& e) {
                report.expect(false, std::string("unexpected error: ") + e.what());
            }
        } else {
            report.expect(false, dropped);
        }
        writeAll(channel[1], report.text().empty() ? std::string("ok") : report.text());
        _exit(0);
    }
    close(channel[1]);
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return "the child ended abnormally: " + text;
    return text == "ok" ? std::string() : text;
}

} // namespace arcavio::test
