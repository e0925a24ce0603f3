#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Starting programs and the shell's file-type lookups; one implementation per platform.
namespace arcavio::platform {

inline constexpr std::uint32_t kStillActive = 259;

// A process that was started. Dropping it releases the handle; the program runs on.
class StartedProcess {
  public:
    virtual ~StartedProcess() = default;
    // Blocks the calling thread without a time limit until the process has ended.
    virtual void wait() = 0;
    // The exit code, or kStillActive while the process runs.
    virtual std::uint32_t exitCode() = 0;
    // Once the process has ended: the last bytes it wrote on standard error, when its request
    // asked for them (ProcessRequest::errorTail).
    virtual std::string errorTail() { return {}; }
};

// The most of a program's standard error that a request may keep.
inline constexpr std::size_t kMaxErrorTail = std::size_t{1} << 20;

struct ProcessRequest {
    // No value: the first word of the command line names the program.
    std::optional<std::string> program;
    // No value: no command line at all.
    std::optional<std::string> commandLine;
    std::string workingDirectory;
    int showCode = 1;
    // Above 0, standard error is read through a pipe and passed on to ours as it arrives, and
    // its last errorTail bytes (at most kMaxErrorTail) are kept. At 0 the program shares ours.
    std::size_t errorTail = 0;
};

class ProcessServices {
  public:
    virtual ~ProcessServices() = default;
    // Null when the system could not start the program.
    virtual std::unique_ptr<StartedProcess> createProcess(const ProcessRequest& request) = 0;
    // The program the system associates with a file, searched from a directory; empty for none.
    virtual std::string findExecutable(const std::string& file, const std::string& directory) = 0;
    // The default value of a key under the file-type registry's root (such as "\.txt" or
    // "\txtfile\shell\open\command"); no value when the key cannot be opened.
    virtual std::optional<std::string> readClassesRootValue(const std::string& key) = 0;
};

// A regular file (a link followed) that this user may run.
bool isExecutableFile(const std::string& path);

// The services of the system the program runs on.
ProcessServices& systemProcesses();

// The words of a command line by the rules Windows programs use to read theirs: blanks and
// tabs separate, double quotes group, backslashes escape only before a double quote.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

} // namespace arcavio::platform
