#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Running a helper program whose answer the program reads: its input handed over on a pipe,
// its output read as it arrives up to a cap, limits on what it may use, a deadline, and
// cancellation. One implementation per platform.
namespace arcavio::platform {

// True when this program is built with AddressSanitizer: so are the helpers built beside it,
// and they run several times slower.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr bool kSanitizedBuild = false;
#endif
#else
inline constexpr bool kSanitizedBuild = false;
#endif

struct ChildLimits {
    // Heap and other writable memory of the child, not its address space; 0 for no limit.
    std::uint64_t dataBytes = 0;
    // Processor time; 0 for no limit.
    unsigned cpuSeconds = 0;
};

struct ChildRequest {
    // Run as given: never searched for, never read by a shell.
    std::string program;
    // The words after the program's own name, each handed over as one argument.
    std::vector<std::string> arguments;
    // The child's working directory; empty for this program's own.
    std::string workingDirectory;
    // Written to the child's standard input, which is then closed.
    std::string input;
    // More standard output than this ends the child; 0 for no cap.
    std::size_t outputCap = 0;
    // Above 0, standard error is read too and its first errorCap bytes kept (errorOutput());
    // the rest is read and dropped, so a child that writes much there never stalls. At 0 it
    // goes nowhere.
    std::size_t errorCap = 0;
    // Wall-clock time from the start after which the child is ended; zero for none.
    std::chrono::milliseconds timeout{0};
    ChildLimits limits;
    // The child gets no display to open a window on and no sound device to play on, whatever
    // the program is: the display variables are dropped and SDL is given its dummy drivers.
    bool withoutDisplay = false;
};

enum class ChildEnd {
    Running,
    NotStarted,     // the program could not be started
    Exited,         // it ended by itself: see exitCode()
    Signalled,      // a signal ended it (a crash, or a limit of the system): see signal()
    TimedOut,       // the deadline passed; it was killed
    OutputTooLarge, // it wrote more than the cap; it was killed
    Cancelled,      // cancel() killed it
};

// A started child. Only the pipes reach it (standard error goes nowhere unless it is read) and
// no other descriptor of this program is inherited. A child still running when this object goes is
// killed and reaped, so none outlives its use.
class ChildProcess {
  public:
    explicit ChildProcess(ChildRequest request);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Feeds the child's input and waits at most `wait` (never past the deadline) for output
    // or the child's end; returns as soon as either comes, with the output that arrived
    // appended to `output`. Returns true while the child runs, false once end() is final.
    bool poll(std::chrono::milliseconds wait, std::string& output);
    // Kills the child at once and reaps it.
    void cancel();

    ChildEnd end() const;
    int exitCode() const; // when Exited
    int signal() const;   // when Signalled
    // The start of what it wrote on standard error, as far as read (see ChildRequest::errorCap).
    const std::string& errorOutput() const;
    // When NotStarted: why, in the system's words ("No such file or directory"); else empty.
    const std::string& startProblem() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

struct ChildResult {
    ChildEnd end = ChildEnd::NotStarted;
    int exitCode = 0;
    int signal = 0;
    std::string output; // at most the cap
    std::string errorOutput;
    std::string startProblem;
};

// Starts the child and waits for its end; with a timeout in the request it returns by the
// deadline (plus the moment killing takes).
ChildResult runChild(ChildRequest request);

} // namespace arcavio::platform
