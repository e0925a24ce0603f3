#pragma once

#include <optional>
#include <string>
#include <vector>

namespace arcavio::test {

std::string fakeEmulatorPath();

// What the fake emulator recorded about its start.
struct FakeEmulatorRecord {
    std::vector<std::string> argv;
    std::string workingDirectory;
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

// Nothing when the fake emulator has not run.
std::optional<FakeEmulatorRecord> readFakeEmulatorRecord(const std::string& logPath);

} // namespace arcavio::test
