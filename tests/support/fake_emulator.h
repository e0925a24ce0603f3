#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arcavio::test {

// What the fake emulator prints for -listfull unless told otherwise: the emulator's own format,
// names padded to 17 columns, one longer, inner quotes, accents.
inline constexpr std::string_view kFakeSetList =
    "Name:             Description:\n"
    "pong              \"Pong (Rev E) [TTL]\"\n"
    "galaxian          \"Galaxian (Namco set 1)\"\n"
    "cc10              \"Chess Challenger \"10\" (model CCX, rev. B)\"\n"
    "attache816        \"Attach\xC3\xA9 8:16\"\n"
    "segas32_pcb_trackball \"Sega System 32 trackball PCB\"\n"
    "pacman            \"Pac-Man (Midway)\"\n";

std::string fakeEmulatorPath();

// What the fake emulator recorded about its start.
struct FakeEmulatorRecord {
    std::vector<std::string> argv;
    std::string workingDirectory;
    int pid = 0;
    std::optional<std::string> optionFile; // the bytes of the mame.ini it found
};

// Points the fake emulator's record at a file, with an exit code and a run time, for the
// lifetime of the object.
class FakeEmulatorSettings {
  public:
    explicit FakeEmulatorSettings(const std::string& logPath, int exitCode = 0, int delayMs = 0);
    ~FakeEmulatorSettings();
    FakeEmulatorSettings(const FakeEmulatorSettings&) = delete;
    FakeEmulatorSettings& operator=(const FakeEmulatorSettings&) = delete;
};

// What the fake emulator does when started with -listfull, for the lifetime of the object: it
// prints the bytes of listFile instead of its built-in list, when given, and writes errorText
// on standard error.
class FakeListSettings {
  public:
    explicit FakeListSettings(const std::string& listFile = "", const std::string& errorText = "");
    ~FakeListSettings();
    FakeListSettings(const FakeListSettings&) = delete;
    FakeListSettings& operator=(const FakeListSettings&) = delete;
};

// Nothing when the fake emulator has not run.
std::optional<FakeEmulatorRecord> readFakeEmulatorRecord(const std::string& logPath);

// The process is gone, or a zombie that only waits for its parent (a killed grandchild waits for
// init); waits up to two seconds for it.
bool processGone(int pid);

} // namespace arcavio::test
