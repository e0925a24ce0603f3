// A stand-in for the emulator: records how it was started and what option file it found.
// Started with -listfull it prints a list of sets in the emulator's format, as fast as it can.
//   ARCAVIO_FAKE_LOG      file to write the record to (replaced)
//   ARCAVIO_FAKE_EXIT     exit code (0 when unset)
//   ARCAVIO_FAKE_DELAY_MS how long to run after writing the record (and the list)
//   ARCAVIO_FAKE_LIST     a file whose bytes -listfull prints instead of the built-in list
//   ARCAVIO_FAKE_STDERR   text written on standard error
// Started with -verifyroms NAMES... it answers as the emulator's check does, by each name's start,
// last name first (the emulator answers in its own order): "good", "best" (best available),
// "bad" (two missing files), "garbage" (lines of no format, and lines about sets nobody asked
// about); a name holding "crash" dies by a signal there, one holding "hang" sleeps a minute there; any other
// name is not found. It ends with exit code 2 when a set is bad, as the emulator does.
//   ARCAVIO_FAKE_VERIFY_LOG  file that gets a line "verifyroms N" per run (appended)
// Asked what it is (-showconfig or -version) it answers at once as no MAME does, and records
// nothing: it stands for an emulator Arcavio does not know, whose start to play is what counts.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "fake_emulator.h"

namespace {

void writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

int verifyRoms(int argc, char** argv)
{
    std::vector<std::string> names;
    for (int i = 2; i < argc && std::string_view(argv[i]) != "-rompath"; ++i)
        names.emplace_back(argv[i]);
    if (const char* log = std::getenv("ARCAVIO_FAKE_VERIFY_LOG")) {
        std::ofstream out(log, std::ios::app);
        out << "verifyroms " << names.size() << '\n';
    }
    std::string out;
    int found = 0, good = 0;
    bool bad = false;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        const std::string_view set = *name;
        if (set.starts_with("good")) {
            out += "romset " + *name + " is good\n";
            ++found, ++good;
        } else if (set.starts_with("best")) {
            out += *name + "    : undumped.u1 (256 bytes) - NOT FOUND - NO GOOD DUMP KNOWN\n";
            out += "romset " + *name + " [parentset] is best available\n";
            ++found, ++good;
        } else if (set.starts_with("bad")) {
            out += *name + "      : prog.6e (4096 bytes) - INCORRECT LENGTH: 6 bytes\n";
            out += *name + "      : prog.6f (4096 bytes) - NOT FOUND (parentset)\n";
            out += "romset " + *name + " [parentset] is bad\n";
            ++found;
            bad = true;
        } else if (set.starts_with("garbage")) {
            out += "Warning: something odd\n" + std::string(10000, 'x') + "\nromset intruder is good\n";
            out += "romset " + *name + " is wonderful\n" + *name + " : \n";
        } else if (set.find("crash") != std::string_view::npos) {
            writeAll(1, out);
            // Past a sanitizer's handler, which would turn the crash into an exit code.
            std::signal(SIGSEGV, SIG_DFL);
            std::raise(SIGSEGV);
        } else if (set.find("hang") != std::string_view::npos) {
            writeAll(1, out);
            out.clear();
            std::this_thread::sleep_for(std::chrono::seconds(60));
        }
    }
    if (!bad)
        out += std::to_string(found) + " romsets found, " + std::to_string(good) + " were OK.\n";
    writeAll(1, out);
    return bad ? 2 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "-showconfig" || std::string_view(argv[i]) == "-version")
            return 1;
    const char* logPath = std::getenv("ARCAVIO_FAKE_LOG");
    if (logPath != nullptr && *logPath != '\0') {
        std::ostringstream record;
        record << "argc " << argc << '\n';
        for (int i = 0; i < argc; ++i)
            record << "arg " << argv[i] << '\n';
        char cwd[4096];
        record << "cwd " << (getcwd(cwd, sizeof cwd) != nullptr ? cwd : "?") << '\n';
        record << "pid " << getpid() << '\n';
        std::ifstream ini("mame.ini", std::ios::binary);
        if (ini) {
            const std::string bytes((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
            record << "ini " << bytes.size() << '\n' << bytes;
        } else {
            record << "noini\n";
        }
        // Written whole and renamed into place, so a reader never sees half a record.
        const std::string temp = std::string(logPath) + ".part";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out << record.str();
        }
        std::rename(temp.c_str(), logPath);
    }
    if (argc > 1 && std::string_view(argv[1]) == "-verifyroms")
        return verifyRoms(argc, argv);
    if (argc > 1 && std::string_view(argv[1]) == "-listfull") {
        const char* listPath = std::getenv("ARCAVIO_FAKE_LIST");
        if (listPath != nullptr && *listPath != '\0') {
            // Read whole first, then written in one go: as fast as it can.
            std::ifstream list(listPath, std::ios::binary | std::ios::ate);
            std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(0, list.tellg())), '\0');
            list.seekg(0);
            list.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            writeAll(1, bytes);
        } else {
            writeAll(1, arcavio::test::kFakeSetList);
        }
    }
    if (const char* complaint = std::getenv("ARCAVIO_FAKE_STDERR"))
        writeAll(2, complaint);
    if (const char* delay = std::getenv("ARCAVIO_FAKE_DELAY_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    const char* code = std::getenv("ARCAVIO_FAKE_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
