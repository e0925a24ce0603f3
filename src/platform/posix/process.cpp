#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

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

class PosixProcess final : public StartedProcess {
  public:
    explicit PosixProcess(pid_t pid) : pid_(pid) {}
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

  private:
    void finish(pid_t done, int status)
    {
        ended_ = true;
        code_ = done == pid_ ? codeOf(status) : kStillActive;
    }

    pid_t pid_;
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
        if (failed != 0)
            return nullptr;
        return std::make_unique<PosixProcess>(pid);
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
