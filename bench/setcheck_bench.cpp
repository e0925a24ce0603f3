// Checking sets: Arcavio's batches against one -verifyroms of the same sets by Debian's MAME,
// in the same run; and the select-game dialog over 40,000 zips with a full set-check cache
// against the same dialog without one.
#include <QAction>
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/language.h"
#include "games/selectgamedialog.h"
#include "games/setcheck.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "report.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kMame = "/usr/games/mame";
constexpr int kCheckedSets = 2000;
constexpr int kDialogZips = 40000;

fs::path freshFolder()
{
    std::string pattern = (fs::temp_directory_path() / "arcavio-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    return pattern;
}

// kCheckedSets real set names: half of them empty zips, half zips that are no zip at all.
struct CheckFolder {
    fs::path root = freshFolder();
    std::vector<std::string> names;
    CheckFolder()
    {
        arcavio::platform::ChildRequest ask;
        ask.program = kMame;
        ask.arguments = {"-listfull"};
        const arcavio::platform::ChildResult listed = arcavio::platform::runChild(ask);
        for (std::size_t at = listed.output.find('\n');
             at != std::string::npos && names.size() < kCheckedSets;) {
            const std::size_t end = listed.output.find('\n', at + 1);
            const std::string line = listed.output.substr(at + 1, end - at - 1);
            const std::string name = line.substr(0, line.find(' '));
            // Every seventh, so the sets spread over the emulator's drivers.
            if (arcavio::isPlainSetName(name) && std::hash<std::string>()(name) % 7 == 0)
                names.push_back(name);
            at = end;
        }
        static const char kEmptyZip[22] = {'P', 'K', 5, 6};
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::ofstream zip(root / (names[i] + ".zip"), std::ios::binary);
            if (i % 2 == 0)
                zip.write(kEmptyZip, sizeof kEmptyZip);
            else
                zip << "not a zip";
        }
    }
    ~CheckFolder()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

CheckFolder& checkFolder()
{
    static CheckFolder folder;
    return folder;
}

void MameVerifyAlone(benchmark::State& state)
{
    CheckFolder& folder = checkFolder();
    arcavio::platform::ChildRequest request;
    request.program = kMame;
    request.arguments = {"-verifyroms"};
    request.arguments.insert(request.arguments.end(), folder.names.begin(), folder.names.end());
    request.arguments.push_back("-rompath");
    request.arguments.push_back(folder.root.string());
    request.errorCap = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(arcavio::platform::runChild(request).output.size());
    state.counters["sets"] = static_cast<double>(folder.names.size());
}

void WholeCheck(benchmark::State& state)
{
    CheckFolder& folder = checkFolder();
    const arcavio::SetCheckRequest request{kMame, "0.251", folder.root.string(), {}, 0};
    for (auto _ : state) {
        const arcavio::SetCheckSummary summary = arcavio::checkSets(request);
        if (summary.checked != folder.names.size())
            state.SkipWithError("not every set was checked");
    }
    state.counters["sets"] = static_cast<double>(folder.names.size());
}

// 40,000 empty zips named in gamelist.ini, and a cache with a result for every one.
struct Collection {
    fs::path root = freshFolder();
    std::string roms = (root / "roms").string(), gameList = (root / "gamelist.ini").string(),
                cache = (root / "set-checks.txt").string();
    Collection()
    {
        fs::create_directory(roms);
        std::ofstream list(gameList, std::ios::binary);
        list << "[gamelist]\r\n";
        std::vector<arcavio::SetCheckEntry> entries;
        char name[32];
        for (int i = 0; i < kDialogZips; ++i) {
            std::snprintf(name, sizeof name, "rom%06d", (i * 7919) % kDialogZips);
            const std::string path = roms + "/" + name + ".zip";
            std::ofstream(path).put('z');
            list << name << "=Game number " << i << " (Arcade)\r\n";
            const auto identity = arcavio::platform::fileIdentity(path);
            entries.push_back(
                {"0.251", path, {identity->size, identity->modified}, static_cast<arcavio::SetState>(i % 4)});
        }
        arcavio::platform::replaceFile(cache, arcavio::SetCheckCache().serialize(entries, {}));
    }
    ~Collection()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Collection& collection()
{
    static Collection made;
    return made;
}

void ShowDialog(benchmark::State& state, bool withCache, bool onlyRunnable)
{
    Collection& made = collection();
    arcavio::Language language;
    arcavio::SelectGameDialog dialog(language);
    dialog.setGameListPath(made.gameList);
    dialog.setSetCheckCachePath(withCache ? made.cache : made.root.string() + "/none");
    dialog.setZipDirectory(made.roms);
    if (onlyRunnable)
        dialog.findChild<QAction*>("c183")->setChecked(true);
    for (auto _ : state) {
        dialog.refreshZipListing();
        dialog.prepareForShowing();
        dialog.show();
        QApplication::processEvents();
        state.PauseTiming();
        // With only the sets that will run, the rows that will not are left out.
        const std::size_t rows = dialog.rowZips().size();
        if ((onlyRunnable ? rows == 0 || rows > kDialogZips : rows != kDialogZips) ||
            (withCache && !dialog.rowMark(0))) {
            state.SkipWithError("the list is not complete");
            break;
        }
        dialog.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void ShowWithoutCache(benchmark::State& state)
{
    ShowDialog(state, false, false);
}
void ShowWithFullCache(benchmark::State& state)
{
    ShowDialog(state, true, false);
}
void ShowOnlyRunnable(benchmark::State& state)
{
    ShowDialog(state, true, true);
}

BENCHMARK(ShowWithoutCache)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowWithFullCache)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowOnlyRunnable)->Unit(benchmark::kMillisecond)->UseRealTime();

// The promises with their figures side by side.
void printSummary(const arcavio::bench::Figures& ms)
{
    using arcavio::bench::verdict;
    std::printf("\nChecking sets\n");
    const double alone = ms("MameVerifyAlone/iterations:2/real_time"),
                 whole = ms("WholeCheck/iterations:2/real_time");
    if (alone > 0 && whole > 0) {
        const double floor = 1.1 * alone + 1000;
        std::printf("  %d sets: MAME's own -verifyroms %.0f ms, Arcavio's check %.0f ms (%s 1.1 x %.0f + "
                    "1000 = %.0f ms)\n",
                    kCheckedSets, alone, whole, verdict(whole <= floor), alone, floor);
    } else {
        std::printf("  not measured: no MAME is installed at %s\n", kMame);
    }
    const double today = ms("ShowWithoutCache/real_time"), cached = ms("ShowWithFullCache/real_time");
    std::printf("  select-game over %d zips: %.1f ms without a cache, %.1f ms with a full cache (%s 1.2 x "
                "%.1f = %.1f ms); %.1f ms with \"Only sets that will run\"\n",
                kDialogZips, today, cached, verdict(cached <= 1.2 * today), today, 1.2 * today,
                ms("ShowOnlyRunnable/real_time"));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    if (fs::exists(kMame)) {
        arcavio::bench::registerRealTime("MameVerifyAlone", MameVerifyAlone, 2);
        arcavio::bench::registerRealTime("WholeCheck", WholeCheck, 2);
    }
    return arcavio::bench::runWithSummary(argc, argv, printSummary);
}
