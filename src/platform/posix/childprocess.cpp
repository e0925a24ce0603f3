#include "platform/childprocess.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/close_range.h>
#include <sys/prctl.h>
#endif

extern char** environ;

namespace arcavio::platform {
namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_ = -1;
};

// Hands take() what the pipe holds, a bounded amount per call, so that a child that never stops
// writing cannot keep the caller from its deadline; take() returns false to stop early. The pipe
// is closed at its end, or on an error other than having nothing more for now.
template <class Take> void readPipe(Descriptor& pipe, Take&& take)
{
    char buffer[65536];
    for (int round = 0; round < 64 && pipe.open(); ++round) {
        const ssize_t got = ::read(pipe.get(), buffer, sizeof buffer);
        if (got > 0) {
            if (!take(static_cast<const char*>(buffer), static_cast<std::size_t>(got)))
                return;
        } else if (got == 0) {
            pipe.reset();
        } else if (errno == EINTR) {
            continue;
        } else {
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                pipe.reset();
            return;
        }
    }
}

// Descriptors of ours above the standard three, so that placing the pipes on 0 and 1 in the
// child never overwrites one of them; all close on exec.
int aboveStandard(int fd)
{
    if (fd < 0 || fd > 2)
        return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

bool makePipe(Descriptor& readEnd, Descriptor& writeEnd)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    readEnd.reset(aboveStandard(fds[0]));
    writeEnd.reset(aboveStandard(fds[1]));
    return readEnd.open() && writeEnd.open();
}

void setNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// A limit never above what this process may grant.
rlimit lowered(int resource, rlim_t wantedSoft, rlim_t wantedHard)
{
    rlimit current{};
    getrlimit(resource, &current);
    const rlim_t hard =
        current.rlim_max == RLIM_INFINITY ? wantedHard : std::min(wantedHard, current.rlim_max);
    return rlimit{std::min(wantedSoft, hard), hard};
}

// The environment handed on. A program built with AddressSanitizer maps terabytes of shadow
// memory, which the system counts as data, so a data limit would stop it at start: such a
// child gets the sanitizer's own limits (on its resident memory and on each allocation)
// instead.
std::vector<std::string> childEnvironment(const ChildLimits& limits, bool withoutDisplay)
{
    std::vector<std::string> environment;
    constexpr std::array<std::string_view, 6> kDisplayVariables = {
        "DISPLAY=",         "WAYLAND_DISPLAY=", "WAYLAND_SOCKET=",
        "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=", "XAUTHORITY="};
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        if (withoutDisplay && std::any_of(kDisplayVariables.begin(), kDisplayVariables.end(),
                                          [&](std::string_view name) { return text.starts_with(name); }))
            continue;
        environment.emplace_back(text);
    }
    if (withoutDisplay) {
        environment.emplace_back("SDL_VIDEODRIVER=dummy");
        environment.emplace_back("SDL_AUDIODRIVER=dummy");
    }
    if (!kSanitizedBuild || limits.dataBytes == 0)
        return environment;
    const std::string megabytes = std::to_string(std::max<std::uint64_t>(1, limits.dataBytes >> 20));
    const std::string options = "hard_rss_limit_mb=" + megabytes + ":max_allocation_size_mb=" + megabytes +
                                ":allocator_may_return_null=1";
    const auto existing = std::find_if(environment.begin(), environment.end(),
                                       [](const std::string& e) { return e.starts_with("ASAN_OPTIONS="); });
    if (existing == environment.end())
        environment.push_back("ASAN_OPTIONS=" + options);
    else
        *existing += ":" + options; // later options win
    return environment;
}

// What the child reports when it cannot become the program: which step failed, and errno.
enum StartStep : int { kEnterDirectory = 1, kExecute = 2 };
struct StartFailure {
    int step = 0;
    int error = 0;
};

[[noreturn]] void reportStartFailure(int reportFd, int step)
{
    const StartFailure failure{step, errno};
    [[maybe_unused]] const ssize_t written = write(reportFd, &failure, sizeof failure);
    _exit(127);
}

struct ChildSetup {
    const char* program;
    const char* directory; // null: stay where this program is
    char* const* argv;
    char* const* envp;
    int input, output, error, errorReport;
    pid_t parent;
    bool limitData;
    rlimit data, cpu;
};

// The process groups of the children alive now, so that a signal that ends this program ends
// whatever they started too: the system's parent-death signal reaches only the child itself.
constexpr std::size_t kGroupSlots = 64;
std::array<std::atomic<pid_t>, kGroupSlots> liveGroups{};

void endLiveGroupsAndDie(int signalNumber)
{
    for (std::atomic<pid_t>& group : liveGroups)
        if (const pid_t id = group.load(); id > 0)
            ::kill(-id, SIGKILL);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void watchEndingSignals()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int ending : {SIGTERM, SIGHUP, SIGINT}) {
            struct sigaction current {};
            sigaction(ending, nullptr, &current);
            // A handler of the program's own stays; only the default end is extended.
            if (current.sa_handler != SIG_DFL)
                continue;
            struct sigaction handler {};
            handler.sa_handler = endLiveGroupsAndDie;
            sigemptyset(&handler.sa_mask);
            sigaction(ending, &handler, nullptr);
        }
    });
}

void rememberGroup(pid_t id)
{
    for (std::atomic<pid_t>& group : liveGroups) {
        pid_t empty = 0;
        if (group.compare_exchange_strong(empty, id))
            return;
    }
}

void forgetGroup(pid_t id)
{
    for (std::atomic<pid_t>& group : liveGroups) {
        pid_t expected = id;
        if (group.compare_exchange_strong(expected, 0))
            return;
    }
}

// Runs in the forked child: only calls that are safe between fork and exec.
[[noreturn]] void becomeChild(const ChildSetup& setup)
{
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int s = 1; s < NSIG; ++s)
        sigaction(s, &byDefault, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    // Its own process group, so that killing it reaches whatever it starts.
    setpgid(0, 0);
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != setup.parent)
        _exit(127);
#endif
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (setup.limitData)
        setrlimit(RLIMIT_DATA, &setup.data);
    if (setup.cpu.rlim_cur != RLIM_INFINITY)
        setrlimit(RLIMIT_CPU, &setup.cpu);

    if (dup2(setup.input, 0) < 0 || dup2(setup.output, 1) < 0 || dup2(setup.error, 2) < 0)
        _exit(127);
    if (setup.directory != nullptr && chdir(setup.directory) != 0)
        reportStartFailure(setup.errorReport, kEnterDirectory);
        // Nothing beyond the three reaches the program, whatever this process has open.
#if defined(__linux__) && defined(SYS_close_range)
    if (syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC) != 0)
#endif
    {
        const long most = sysconf(_SC_OPEN_MAX);
        for (int fd = 3; fd < (most > 0 ? most : 65536); ++fd)
            fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    execve(setup.program, setup.argv, setup.envp);
    reportStartFailure(setup.errorReport, kExecute);
}

} // namespace

struct ChildProcess::State {
    pid_t pid = -1;
    Descriptor input;  // our end of the child's standard input
    Descriptor output; // our end of its standard output
    Descriptor errors; // our end of its standard error, when that is read
    Descriptor exitNotice;
    std::string inputBytes;
    std::size_t written = 0;
    std::size_t received = 0;
    std::size_t cap = 0;
    std::string errorBytes;
    std::size_t errorCap = 0;
    std::string startProblem;
    bool hasDeadline = false;
    Clock::time_point deadline;
    ChildEnd end = ChildEnd::NotStarted;
    int exitCode = 0;
    int signal = 0;

    void start(ChildRequest& request);
    void readAvailable(std::string& sink);
    void readErrors();
    void writeSome();
    bool reap(bool block);
    void kill(ChildEnd why);
    void closePipes()
    {
        input.reset();
        output.reset();
        errors.reset();
    }
};

void ChildProcess::State::start(ChildRequest& request)
{
    inputBytes = std::move(request.input);
    cap = request.outputCap;
    errorCap = request.errorCap;
    if (request.timeout.count() > 0) {
        hasDeadline = true;
        deadline = Clock::now() + request.timeout;
    }
    if (request.program.empty()) {
        startProblem = std::strerror(ENOENT);
        return;
    }

    std::vector<std::string> words;
    words.push_back(request.program);
    words.insert(words.end(), request.arguments.begin(), request.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = childEnvironment(request.limits, request.withoutDisplay);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    Descriptor childInput, childOutput, childErrors, reportRead, reportWrite;
    if (!makePipe(childInput, input) || !makePipe(output, childOutput) ||
        !makePipe(reportRead, reportWrite) || (errorCap > 0 && !makePipe(errors, childErrors))) {
        startProblem = std::strerror(errno);
        closePipes();
        return;
    }
    if (errorCap == 0)
        childErrors.reset(aboveStandard(::open("/dev/null", O_RDWR | O_CLOEXEC)));
    if (!childErrors.open()) {
        startProblem = std::strerror(errno);
        closePipes();
        return;
    }

    ChildSetup setup{};
    setup.program = request.program.c_str();
    setup.directory = request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str();
    setup.argv = argv.data();
    setup.envp = envp.data();
    setup.input = childInput.get();
    setup.output = childOutput.get();
    setup.error = childErrors.get();
    setup.errorReport = reportWrite.get();
    setup.parent = getpid();
    const ChildLimits& limits = request.limits;
    setup.limitData = limits.dataBytes > 0 && !kSanitizedBuild;
    setup.data = lowered(RLIMIT_DATA, limits.dataBytes, limits.dataBytes);
    // Past the soft limit the child gets SIGXCPU; a second later the system kills it.
    setup.cpu = limits.cpuSeconds > 0 ? lowered(RLIMIT_CPU, limits.cpuSeconds, limits.cpuSeconds + 1)
                                      : rlimit{RLIM_INFINITY, RLIM_INFINITY};

    const pid_t child = fork();
    if (child < 0) {
        startProblem = std::strerror(errno);
        closePipes();
        return;
    }
    if (child == 0)
        becomeChild(setup);

    pid = child;
    // Also from this side, so the group exists before anything could be sent to it.
    setpgid(child, child);
    watchEndingSignals();
    rememberGroup(child);
    childInput.reset();
    childOutput.reset();
    childErrors.reset();
    reportWrite.reset();
    // The report pipe closes at exec; what arrives on it is why the child did not get there.
    StartFailure failure;
    std::size_t got = 0;
    while (got < sizeof failure) {
        const ssize_t n =
            ::read(reportRead.get(), reinterpret_cast<char*>(&failure) + got, sizeof failure - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got > 0) {
        closePipes();
        reap(true);
        end = ChildEnd::NotStarted;
        pid = -1;
        startProblem = std::strerror(failure.error);
        if (failure.step == kEnterDirectory)
            startProblem = "cannot enter its directory " + request.workingDirectory + ": " + startProblem;
        return;
    }
    end = ChildEnd::Running;
#ifdef SYS_pidfd_open
    exitNotice.reset(aboveStandard(static_cast<int>(syscall(SYS_pidfd_open, pid, 0))));
#endif
    setNonBlocking(input.get());
    setNonBlocking(output.get());
#ifdef F_SETPIPE_SZ
    // Room for a child that writes fast in small pieces: it goes on writing while the caller
    // reads now and then, instead of waiting for every read (the system may grant less).
    fcntl(output.get(), F_SETPIPE_SZ, 1 << 20);
#endif
    if (errors.open())
        setNonBlocking(errors.get());
    if (inputBytes.empty())
        input.reset();
}

void ChildProcess::State::readAvailable(std::string& sink)
{
    readPipe(output, [&](const char* bytes, std::size_t got) {
        if (cap > 0 && received + got > cap) {
            sink.append(bytes, cap - received);
            received = cap + 1;
            return false;
        }
        sink.append(bytes, got);
        received += got;
        return true;
    });
}

void ChildProcess::State::readErrors()
{
    readPipe(errors, [this](const char* bytes, std::size_t got) {
        const std::size_t room = errorCap - std::min(errorCap, errorBytes.size());
        errorBytes.append(bytes, std::min(room, got));
        return true;
    });
}

void ChildProcess::State::writeSome()
{
    // A child that stops reading closes the pipe: the write fails, and the signal it raises
    // must not end this program.
    sigset_t pipeSignal, previous, pending;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);

    const std::size_t chunk = std::min<std::size_t>(inputBytes.size() - written, 1 << 16);
    const ssize_t put = ::write(input.get(), inputBytes.data() + written, chunk);
    if (put > 0) {
        written += static_cast<std::size_t>(put);
    } else if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        if (errno == EPIPE && !alreadyPending) {
            const timespec now{0, 0};
            while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        input.reset();
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (written >= inputBytes.size()) {
        input.reset();
        std::string().swap(inputBytes);
    }
}

bool ChildProcess::State::reap(bool block)
{
    // While the child is not yet reaped its number cannot be taken again, so its group is
    // still its own: what it left running goes with it.
    siginfo_t ended{};
    if (waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT | (block ? 0 : WNOHANG)) == 0 &&
        ended.si_pid == pid)
        ::kill(-pid, SIGKILL);
    int status = 0;
    pid_t done;
    do {
        done = waitpid(pid, &status, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0)
        return false;
    if (done == pid && WIFEXITED(status)) {
        end = ChildEnd::Exited;
        exitCode = WEXITSTATUS(status);
    } else if (done == pid && WIFSIGNALED(status)) {
        end = ChildEnd::Signalled;
        signal = WTERMSIG(status);
    } else {
        end = ChildEnd::Signalled;
    }
    exitNotice.reset();
    forgetGroup(pid);
    return true;
}

void ChildProcess::State::kill(ChildEnd why)
{
    if (end != ChildEnd::Running)
        return;
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    closePipes();
    reap(true);
    end = why;
}

ChildProcess::ChildProcess(ChildRequest request) : state_(std::make_unique<State>())
{
    state_->start(request);
}

ChildProcess::~ChildProcess()
{
    state_->kill(ChildEnd::Cancelled);
}

bool ChildProcess::poll(std::chrono::milliseconds wait, std::string& output)
{
    State& s = *state_;
    if (s.end != ChildEnd::Running)
        return false;
    Clock::time_point until = Clock::now() + std::max(wait, std::chrono::milliseconds(0));
    if (s.hasDeadline)
        until = std::min(until, s.deadline);
    const std::size_t before = output.size();

    while (true) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        const int timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, 1000));
        pollfd fds[4];
        nfds_t count = 0;
        int outputAt = -1, errorsAt = -1, inputAt = -1, exitAt = -1;
        if (s.output.open())
            outputAt = static_cast<int>(count), fds[count++] = {s.output.get(), POLLIN, 0};
        if (s.errors.open())
            errorsAt = static_cast<int>(count), fds[count++] = {s.errors.get(), POLLIN, 0};
        if (s.input.open())
            inputAt = static_cast<int>(count), fds[count++] = {s.input.get(), POLLOUT, 0};
        if (s.exitNotice.open())
            exitAt = static_cast<int>(count), fds[count++] = {s.exitNotice.get(), POLLIN, 0};

        bool exited = false;
        if (count == 0) {
            // Both pipes are closed and the system gives no exit notice: look now and then.
            exited = s.reap(false);
            if (!exited && timeout > 0) {
                const timespec nap{0, std::min(timeout, 2) * 1000000L};
                nanosleep(&nap, nullptr);
            }
        } else if (::poll(fds, count, timeout) > 0) {
            if (outputAt >= 0 && fds[outputAt].revents != 0)
                s.readAvailable(output);
            if (errorsAt >= 0 && fds[errorsAt].revents != 0)
                s.readErrors();
            if (inputAt >= 0 && fds[inputAt].revents != 0 && s.input.open())
                s.writeSome();
            if (exitAt >= 0 && fds[exitAt].revents != 0) {
                // What it wrote before it ended is still in the pipes.
                s.readAvailable(output);
                s.readErrors();
                exited = s.reap(true);
            }
        }
        if (!exited && !s.output.open() && !s.errors.open() && !s.input.open() && !s.exitNotice.open())
            exited = s.reap(false);
        if (s.cap > 0 && s.received > s.cap) {
            if (s.end == ChildEnd::Running)
                s.kill(ChildEnd::OutputTooLarge);
            else
                s.end = ChildEnd::OutputTooLarge;
            s.closePipes();
            return false;
        }
        if (s.end != ChildEnd::Running) {
            s.closePipes();
            return false;
        }
        const Clock::time_point now = Clock::now();
        if (s.hasDeadline && now >= s.deadline) {
            s.kill(ChildEnd::TimedOut);
            return false;
        }
        if (now >= until || output.size() != before)
            return true;
    }
}

void ChildProcess::cancel()
{
    state_->kill(ChildEnd::Cancelled);
}

ChildEnd ChildProcess::end() const
{
    return state_->end;
}

int ChildProcess::exitCode() const
{
    return state_->exitCode;
}

int ChildProcess::signal() const
{
    return state_->signal;
}

const std::string& ChildProcess::errorOutput() const
{
    return state_->errorBytes;
}

const std::string& ChildProcess::startProblem() const
{
    return state_->startProblem;
}

ChildResult runChild(ChildRequest request)
{
    ChildProcess child(std::move(request));
    ChildResult result;
    while (child.poll(std::chrono::hours(1), result.output)) {
    }
    result.end = child.end();
    result.exitCode = child.exitCode();
    result.signal = child.signal();
    result.errorOutput = child.errorOutput();
    result.startProblem = child.startProblem();
    return result;
}

} // namespace arcavio::platform
