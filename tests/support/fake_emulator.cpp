// A stand-in for the emulator: records how it was started and what option file it found.
//   ARCAVIO_FAKE_LOG      file to write the record to (replaced)
//   ARCAVIO_FAKE_EXIT     exit code (0 when unset)
//   ARCAVIO_FAKE_DELAY_MS how long to run after writing the record
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* logPath = std::getenv("ARCAVIO_FAKE_LOG");
    if (logPath != nullptr && *logPath != '\0') {
        std::ostringstream record;
        record << "argc " << argc << '\n';
        for (int i = 0; i < argc; ++i)
            record << "arg " << argv[i] << '\n';
        char cwd[4096];
        record << "cwd " << (getcwd(cwd, sizeof cwd) != nullptr ? cwd : "?") << '\n';
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
    if (const char* delay = std::getenv("ARCAVIO_FAKE_DELAY_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    const char* code = std::getenv("ARCAVIO_FAKE_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
