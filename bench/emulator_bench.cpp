// Knowing the installed emulator: asking it for its options beside the time its
// own -showconfig takes, the cached answer, and writing a whole mame.ini from what it answered.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "emulator/emulatorknowledge.h"
#include "emulator/mameoptions.h"
#include "emulator/optionlist.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "report.h"

namespace {

using arcavio::bench::verdict;

constexpr const char* kRealEmulator = "/usr/games/mame";
constexpr int kRuns = 10;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The emulator's -showconfig as askEmulator asks for it, but alone and without reading it.
bool showConfigAlone()
{
    arcavio::platform::ChildRequest request;
    request.program = kRealEmulator;
    request.arguments = {"-showconfig", "-noreadconfig"};
    request.workingDirectory = std::filesystem::path(kRealEmulator).parent_path().string();
    request.outputCap = 1 << 20;
    request.timeout = arcavio::kEmulatorAnswerTime;
    request.withoutDisplay = true;
    const arcavio::platform::ChildResult result = arcavio::platform::runChild(std::move(request));
    return result.end == arcavio::platform::ChildEnd::Exited && result.exitCode == 0 && !result.output.empty();
}

} // namespace

int main()
{
    if (!std::filesystem::exists(kRealEmulator)) {
        std::printf("Knowing the emulator: not measured, no MAME is installed at %s\n", kRealEmulator);
        return 0;
    }
    std::vector<double> alone, asked;
    for (int i = 0; i < kRuns; ++i) {
        auto start = Clock::now();
        if (!showConfigAlone()) {
            std::printf("Knowing the emulator: %s -showconfig -noreadconfig failed\n", kRealEmulator);
            return 1;
        }
        alone.push_back(millisecondsSince(start));
        start = Clock::now();
        if (arcavio::askEmulator(kRealEmulator) == nullptr) {
            std::printf("Knowing the emulator: %s is not known as a recent MAME\n", kRealEmulator);
            return 1;
        }
        asked.push_back(millisecondsSince(start));
    }

    const auto knowledge = arcavio::knownEmulator(kRealEmulator);
    constexpr int kCachedCalls = 1000;
    auto start = Clock::now();
    for (int i = 0; i < kCachedCalls; ++i)
        benchmark::DoNotOptimize(arcavio::knownEmulator(kRealEmulator).get());
    const double cached = millisecondsSince(start) / kCachedCalls;

    const char* carriedFrom = "/etc/mame/mame.ini";
    std::string carriedText;
    try {
        carriedText = arcavio::platform::readFile(carriedFrom, 1 << 20);
    } catch (const std::exception&) {
        carriedFrom = "the emulator's defaults";
    }
    const arcavio::OptionList carried =
        carriedText.empty() ? knowledge->defaults : arcavio::OptionList::parse(carriedText);
    const std::vector<arcavio::MameSetting> settings = arcavio::mameSettings(arcavio::defaultConfiguration());
    constexpr int kFiles = 1000;
    std::size_t bytes = 0;
    start = Clock::now();
    for (int i = 0; i < kFiles; ++i) {
        const std::string file = arcavio::mameOptionFile(knowledge->defaults, carried, settings);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    const double written = millisecondsSince(start) / kFiles;

    const double ownTime = median(alone), askTime = median(asked);
    std::printf("Knowing the emulator (%s, %s, medians of %d runs)\n", kRealEmulator, knowledge->name().c_str(),
                kRuns);
    std::printf("  its own -showconfig -noreadconfig %.1f ms, askEmulator %.1f ms: "
                "%+.1f ms (%s %.1f + 30 = %.1f ms)\n",
                ownTime, askTime, askTime - ownTime, verdict(askTime <= ownTime + 30), ownTime, ownTime + 30);
    std::printf("  knownEmulator once known: %.4f ms a call (%s 5 ms)\n", cached, verdict(cached <= 5));
    std::printf("  mame.ini of %zu options (%zu bytes) carrying %s: %.4f ms a file (%s 2 ms)\n",
                knowledge->defaults.options().size(), bytes, carriedFrom, written, verdict(written <= 2));
    return 0;
}
