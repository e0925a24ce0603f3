// A program that misbehaves on request, for the tests of running helper programs. The mode is
// the first argument, or the program's own file name when that is not "child_standin" (so a
// copy named "crash" stands in for a helper that crashes whatever it is asked).
//   echo      copies standard input to standard output
//   args      writes its arguments, each ended by a zero byte
//   exit N    ends with code N
//   crash     aborts
//   loop      spins on the processor without end
//   sleep     sleeps without end
//   allocate  takes and touches memory without end; ends with 3 when refused
//   flood     writes without end
//   ticks     writes "tick" lines, 50 ms apart, five of them
//   descriptors  writes the numbers of its open descriptors, one a line
//   noisy     writes 1 MiB on standard error, then "done" on standard output
//   where     writes its working directory
//   partial   reads one byte of its input and ends
//   pid       writes its process number, then sleeps without end
//   garbage   reads its input and answers with text that is no picture
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace {

void writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put <= 0)
            std::exit(4);
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

std::string readAll()
{
    std::string bytes;
    char buffer[65536];
    ssize_t got;
    while ((got = read(0, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(got));
    return bytes;
}

[[noreturn]] void sleepForever()
{
    while (true)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

} // namespace

int main(int argc, char** argv)
{
    std::string_view self = argv[0];
    if (const auto slash = self.rfind('/'); slash != std::string_view::npos)
        self.remove_prefix(slash + 1);
    int first = 1;
    std::string_view mode = self;
    if (self == "child_standin") {
        if (argc < 2)
            return 2;
        mode = argv[1];
        first = 2;
    }

    if (mode == "echo") {
        writeAll(1, readAll());
    } else if (mode == "args") {
        for (int i = first; i < argc; ++i)
            writeAll(1, std::string(argv[i]) + '\0');
    } else if (mode == "exit") {
        return first < argc ? std::atoi(argv[first]) : 0;
    } else if (mode == "crash") {
        std::abort();
    } else if (mode == "loop") {
        volatile unsigned long spins = 0;
        while (true)
            spins = spins + 1;
    } else if (mode == "sleep") {
        sleepForever();
    } else if (mode == "allocate") {
        while (true) {
            void* block = std::malloc(1 << 20);
            if (block == nullptr)
                return 3;
            std::memset(block, 1, 1 << 20);
        }
    } else if (mode == "flood") {
        const std::string block(65536, 'x');
        while (true)
            writeAll(1, block);
    } else if (mode == "ticks") {
        for (int i = 0; i < 5; ++i) {
            writeAll(1, "tick\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    } else if (mode == "descriptors") {
        DIR* dir = opendir("/proc/self/fd");
        if (dir == nullptr)
            return 5;
        const int own = dirfd(dir);
        std::string list;
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own)
                continue;
            list += std::string(entry->d_name) + '\n';
        }
        closedir(dir);
        writeAll(1, list);
    } else if (mode == "noisy") {
        writeAll(2, std::string(1 << 20, 'e'));
        writeAll(1, "done");
    } else if (mode == "where") {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd) == nullptr)
            return 5;
        writeAll(1, cwd);
    } else if (mode == "partial") {
        char byte;
        return read(0, &byte, 1) == 1 ? 0 : 6;
    } else if (mode == "pid") {
        writeAll(1, std::to_string(getpid()) + '\n');
        sleepForever();
    } else if (mode == "garbage") {
        readAll();
        writeAll(1, "AVMF this is no picture");
    } else {
        return 2;
    }
    return 0;
}
