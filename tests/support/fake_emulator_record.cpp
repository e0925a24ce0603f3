#include "support/fake_emulator.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"

namespace arcavio::test {

std::string fakeEmulatorPath()
{
    return ARCAVIO_BUILD_DIR "/tests/support/fake_emulator";
}

FakeEmulatorSettings::FakeEmulatorSettings(const std::string& logPath, int exitCode, int delayMs)
{
    setenv("ARCAVIO_FAKE_LOG", logPath.c_str(), 1);
    setenv("ARCAVIO_FAKE_EXIT", std::to_string(exitCode).c_str(), 1);
    setenv("ARCAVIO_FAKE_DELAY_MS", std::to_string(delayMs).c_str(), 1);
}

FakeEmulatorSettings::~FakeEmulatorSettings()
{
    unsetenv("ARCAVIO_FAKE_LOG");
    unsetenv("ARCAVIO_FAKE_EXIT");
    unsetenv("ARCAVIO_FAKE_DELAY_MS");
}

FakeListSettings::FakeListSettings(const std::string& listFile, const std::string& errorText)
{
    setenv("ARCAVIO_FAKE_LIST", listFile.c_str(), 1);
    setenv("ARCAVIO_FAKE_STDERR", errorText.c_str(), 1);
}

FakeListSettings::~FakeListSettings()
{
    unsetenv("ARCAVIO_FAKE_LIST");
    unsetenv("ARCAVIO_FAKE_STDERR");
}

std::optional<FakeEmulatorRecord> readFakeEmulatorRecord(const std::string& logPath)
{
    const std::string bytes = readBytes(logPath);
    if (bytes.empty())
        return std::nullopt;
    std::istringstream in(bytes);
    FakeEmulatorRecord record;
    std::string word;
    int argc = 0;
    in >> word >> argc;
    in.ignore(1);
    for (int i = 0; i < argc; ++i) {
        std::string line;
        std::getline(in, line);
        record.argv.push_back(line.substr(4));
    }
    std::string line;
    std::getline(in, line);
    record.workingDirectory = line.substr(4);
    std::getline(in, line);
    record.pid = std::stoi(line.substr(4));
    std::getline(in, line);
    if (line.rfind("ini ", 0) == 0) {
        const std::size_t size = std::stoul(line.substr(4));
        std::string ini(size, '\0');
        in.read(ini.data(), static_cast<std::streamsize>(size));
        record.optionFile = ini;
    }
    return record;
}

bool processGone(int pid)
{
    if (pid <= 0)
        return false;
    for (int tries = 0; tries < 200; ++tries) {
        errno = 0;
        if (::kill(pid, 0) == -1 && errno == ESRCH)
            return true;
        const std::string stat = readBytes("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t close = stat.rfind(')');
        if (close != std::string::npos && stat.substr(close + 1, 3) == " Z ")
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace arcavio::test
