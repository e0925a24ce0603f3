#include "platform/process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

#include "text/paths.h"

extern char** environ;

namespace arcavio::platform {
namespace {

// Children started without waiting are reaped later, so none stays a zombie for long.
std::vector<pid_t> unwaited;

void reapUnwaited()
{
    std::erase_if(unwaited, [](pid_t pid) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        return done == pid || (done < 0 && errno == ECHILD);
    });
}

std::uint32_t codeOf(int status)
{
    if (WIFEXITED(status))
        return static_cast<std::uint32_t>(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return 128u + static_cast<std::uint32_t>(WTERMSIG(status));
    return kStillActive;
}

// A grandchild may hold the pipe open long after the child ended; what the child wrote before
// its end is in the pipe already, so a short moment is enough to read it.
constexpr std::chrono::milliseconds kReadAfterEnd{250};

void passOnToOurErrorOutput(const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(STDERR_FILENO, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}

// Reads a child's standard error on a thread of its own, so the child never waits on a full pipe
// while we wait for it. The thread may outlive its owner (a process dropped while it runs) and
// then reads on until the pipe closes; what they share lives as long as the longer of the two.
class ErrorReader {
  public:
    ErrorReader(int readEnd, std::size_t keep) : shared_(std::make_shared<Shared>(readEnd, keep))
    {
        int wake[2];
        if (::pipe2(wake, O_CLOEXEC) != 0)
            throw std::system_error(errno, std::generic_category());
        shared_->wakeRead = wake[0];
        wakeWrite_ = wake[1];
        // Signals stay with the program's other threads, and a closed standard error of ours
        // gives this thread an error instead of ending the program.
        sigset_t all, previous;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &previous);
        try {
            thread_ = std::thread([shared = shared_] { run(*shared); });
        } catch (...) {
            pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            ::close(wakeWrite_);
            throw;
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    ~ErrorReader()
    {
        if (thread_.joinable())
            thread_.detach();
        ::close(wakeWrite_);
    }
    ErrorReader(const ErrorReader&) = delete;
    ErrorReader& operator=(const ErrorReader&) = delete;

    void processEnded()
    {
        if (!thread_.joinable())
            return;
        const char ended = 'e';
        while (::write(wakeWrite_, &ended, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }

    std::string tail() const
    {
        const std::lock_guard lock(shared_->mutex);
        return shared_->tail;
    }

  private:
    struct Shared {
        Shared(int readEnd, std::size_t keepBytes) : pipe(readEnd), keep(keepBytes) {}
        ~Shared()
        {
            ::close(pipe);
            if (wakeRead >= 0)
                ::close(wakeRead);
        }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

        int pipe;
        int wakeRead = -1;
        std::size_t keep;
        mutable std::mutex mutex;
        std::string tail;
    };

    static void run(Shared& shared)
    {
        using Clock = std::chrono::steady_clock;
        std::optional<Clock::time_point> deadline;
        bool watchWake = true;
        std::vector<char> buffer(64 * 1024);
        while (true) {
            int timeout = -1;
            if (deadline) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
                if (left.count() <= 0)
                    return;
                timeout = static_cast<int>(left.count());
            }
            pollfd fds[2] = {{shared.pipe, POLLIN, 0}, {shared.wakeRead, POLLIN, 0}};
            const int ready = ::poll(fds, watchWake ? 2 : 1, timeout);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return;
            if (watchWake && fds[1].revents != 0) {
                char message = 0;
                const ssize_t got = ::read(shared.wakeRead, &message, 1);
                // A byte: the process ended. The end of the pipe: the owner let go of a process
                // still running, whose output goes on to ours until it closes.
                if (got > 0)
                    deadline = Clock::now() + kReadAfterEnd;
                if (got >= 0)
                    watchWake = false;
            }
            if (fds[0].revents == 0)
                continue;
            const ssize_t got = ::read(shared.pipe, buffer.data(), buffer.size());
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got <= 0)
                return;
            const auto count = static_cast<std::size_t>(got);
            passOnToOurErrorOutput(buffer.data(), count);
            const std::size_t kept = std::min(count, shared.keep);
            const std::lock_guard lock(shared.mutex);
            shared.tail.append(buffer.data() + (count - kept), kept);
            if (shared.tail.size() > shared.keep)
                shared.tail.erase(0, shared.tail.size() - shared.keep);
        }
    }

    std::shared_ptr<Shared> shared_;
    int wakeWrite_ = -1;
    std::thread thread_;
};

class PosixProcess final : public StartedProcess {
  public:
    PosixProcess(pid_t pid, std::unique_ptr<ErrorReader> errors) : pid_(pid), errors_(std::move(errors)) {}
    ~PosixProcess() override
    {
        if (!ended_)
            unwaited.push_back(pid_);
    }
    PosixProcess(const PosixProcess&) = delete;
    PosixProcess& operator=(const PosixProcess&) = delete;

    void wait() override
    {
        if (ended_)
            return;
        int status = 0;
        pid_t done;
        do {
            done = waitpid(pid_, &status, 0);
        } while (done < 0 && errno == EINTR);
        finish(done, status);
    }

    std::uint32_t exitCode() override
    {
        if (!ended_) {
            int status = 0;
            const pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == 0)
                return kStillActive;
            finish(done, status);
        }
        return code_;
    }

    std::string errorTail() override { return ended_ && errors_ ? errors_->tail() : std::string(); }

  private:
    void finish(pid_t done, int status)
    {
        ended_ = true;
        code_ = done == pid_ ? codeOf(status) : kStillActive;
        if (errors_)
            errors_->processEnded();
    }

    pid_t pid_;
    std::unique_ptr<ErrorReader> errors_;
    bool ended_ = false;
    std::uint32_t code_ = kStillActive;
};

struct FileActions {
    posix_spawn_file_actions_t actions;
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
};

struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    void reset()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

struct Attributes {
    posix_spawnattr_t attributes;
    Attributes() { posix_spawnattr_init(&attributes); }
    ~Attributes() { posix_spawnattr_destroy(&attributes); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;
};

class PosixProcesses final : public ProcessServices {
  public:
    std::unique_ptr<StartedProcess> createProcess(const ProcessRequest& request) override
    {
        reapUnwaited();
        std::vector<std::string> words;
        if (request.commandLine)
            words = splitCommandLine(*request.commandLine);
        std::string program;
        if (request.program) {
            program = *request.program;
            words.insert(words.begin(), program);
        } else {
            if (words.empty())
                return nullptr;
            program = words.front();
        }
        if (program.empty())
            return nullptr;

        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        // The show code and the console have no meaning here; no handle beyond the standard
        // three is handed on, and the signal state starts afresh.
        FileActions files;
        if (!request.workingDirectory.empty() &&
            posix_spawn_file_actions_addchdir_np(&files.actions, request.workingDirectory.c_str()) != 0)
            return nullptr;
        Descriptor errorWrite;
        std::unique_ptr<ErrorReader> errors;
        if (request.errorTail > 0) {
            int ends[2];
            if (::pipe2(ends, O_CLOEXEC) != 0)
                return nullptr;
            errorWrite.fd = ends[1];
            try {
                errors = std::make_unique<ErrorReader>(ends[0], std::min(request.errorTail, kMaxErrorTail));
            } catch (const std::system_error&) {
                return nullptr;
            }
            if (posix_spawn_file_actions_adddup2(&files.actions, errorWrite.fd, STDERR_FILENO) != 0)
                return nullptr;
        }
        if (posix_spawn_file_actions_addclosefrom_np(&files.actions, 3) != 0)
            return nullptr;
        Attributes attributes;
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes.attributes, &none);
        posix_spawnattr_setsigdefault(&attributes.attributes, &all);
        posix_spawnattr_setflags(&attributes.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

        pid_t pid = 0;
        // Without a program name the system searches for the first word as a shell would,
        // yet no shell ever reads the command line.
        const int failed = request.program ? posix_spawn(&pid, program.c_str(), &files.actions,
                                                         &attributes.attributes, argv.data(), environ)
                                           : posix_spawnp(&pid, program.c_str(), &files.actions,
                                                          &attributes.attributes, argv.data(), environ);
        // Only the child may hold the pipe's writing end, so the reader sees its end.
        errorWrite.reset();
        if (failed != 0) {
            if (errors)
                errors->processEnded();
            return nullptr;
        }
        return std::make_unique<PosixProcess>(pid, std::move(errors));
    }

    std::string findExecutable(const std::string& file, const std::string& directory) override
    {
        if (file.empty())
            return {};
        const std::string path = file.front() == '/' || directory.empty() ? file : joinPath(directory, file);
        return isExecutableFile(path) ? path : std::string();
    }

    std::optional<std::string> readClassesRootValue(const std::string&) override { return std::nullopt; }
};

} // namespace

ProcessServices& systemProcesses()
{
    static PosixProcesses services;
    return services;
}

std::vector<std::string> splitCommandLine(std::string_view text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (true) {
        while (i < text.size() && blank(text[i]))
            ++i;
        if (i >= text.size())
            break;
        std::string word;
        bool quoted = false;
        while (i < text.size() && (quoted || !blank(text[i]))) {
            std::size_t backslashes = 0;
            while (i < text.size() && text[i] == '\\')
                ++backslashes, ++i;
            if (i < text.size() && text[i] == '"') {
                word.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    word += '"';
                } else if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                    word += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                word.append(backslashes, '\\');
                if (i < text.size() && (quoted || !blank(text[i])))
                    word += text[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace arcavio::platform
