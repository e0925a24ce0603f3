// Importing game names from the emulator's list: merging a full list into a full gamelist.ini
// (alone, and with the file read and written), reading the list through a pipe against what
// cat takes for the same text, the whole import from a stand-in and from the real emulator
// beside its own -listfull run, and the select-game dialog before and after an import.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "base/language.h"
#include "games/gamelist.h"
#include "games/nameimport.h"
#include "games/selectgamedialog.h"
#include "platform/filesystem.h"
#include "report.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using arcavio::test::TempDir;

constexpr const char* kRealEmulator = "/usr/games/mame";

// A -listfull text of `count` sets in the emulator's format, about as long per line as the
// real one (56 bytes), with a few inner quotes and accents.
std::string listText(int count, const char* prefix)
{
    std::string text = "Name:             Description:\n";
    char line[160];
    for (int i = 0; i < count; ++i) {
        const char* extra = i % 50 == 0 ? " \"Turbo\"" : i % 37 == 0 ? " (Ver. B\xC3\xAAta)" : "";
        std::snprintf(line, sizeof line, "%s%06d%*s \"Arcade Game %06d (Manufacturer, set %d)%s\"\n", prefix,
                      i, static_cast<int>(17 - 6 - std::string_view(prefix).size()), "", i, i % 4 + 1, extra);
        text += line;
    }
    return text;
}

// A gamelist.ini of `count` names the user already has, none of them in the list.
std::string userGameList(int count)
{
    std::string text = "; my names\r\n[gamelist]\r\n";
    char line[96];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "old%06d=My own name for game %d\r\n", i, i);
        text += line;
    }
    return text;
}

arcavio::SetListReader readList(std::string_view text)
{
    arcavio::SetListReader reader;
    reader.feed(text);
    reader.finish();
    return reader;
}

struct Workspace {
    TempDir dir;
    std::map<int, std::string> lists; // -listfull texts on disk, by size
    std::string list(int count)
    {
        auto& path = lists[count];
        if (path.empty())
            path = dir.write("list" + std::to_string(count) + ".txt", listText(count, "new"));
        return path;
    }
};

Workspace& workspace()
{
    static Workspace made;
    return made;
}

int spawnAndWait(const std::vector<std::string>& words, const char* directory)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (directory != nullptr)
        posix_spawn_file_actions_addchdir_np(&actions, directory);
    std::vector<char*> argv;
    std::vector<std::string> copy = words;
    for (std::string& word : copy)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (started != 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void MergeAlone(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string file = userGameList(count);
    const arcavio::SetListReader list = readList(listText(count, "new"));
    for (auto _ : state) {
        const arcavio::GameListMerge merge = arcavio::mergeGameListNames(file, list.names());
        if (merge.counts.added != static_cast<std::size_t>(count))
            state.SkipWithError("not every name was added");
        benchmark::DoNotOptimize(merge.bytes.data());
    }
    state.counters["names"] = count;
}

// What the import does once the list is read: read gamelist.ini, merge, write it.
void MergeAndWrite(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string before = userGameList(count);
    const arcavio::SetListReader list = readList(listText(count, "new"));
    const std::string path = workspace().dir.write("merge.ini", before);
    for (auto _ : state) {
        state.PauseTiming();
        arcavio::test::writeBytes(path, before);
        state.ResumeTiming();
        const std::string bytes = arcavio::platform::readFile(path, arcavio::platform::kGameListFileLimit);
        const arcavio::GameListMerge merge = arcavio::mergeGameListNames(bytes, list.names());
        arcavio::platform::replaceFile(path, merge.bytes);
    }
    state.counters["names"] = count;
}

void CatToDevNull(benchmark::State& state)
{
    const std::string list = workspace().list(static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (spawnAndWait({"/bin/cat", list}, nullptr) != 0)
            state.SkipWithError("cat failed");
}

// The import's reading: the stand-in prints the list as fast as it can, the import reads the
// pipe and parses every line as it arrives; no merge.
void ReadAndParse(benchmark::State& state)
{
    const std::string list = workspace().list(static_cast<int>(state.range(0)));
    setenv("ARCAVIO_FAKE_LIST", list.c_str(), 1);
    for (auto _ : state) {
        arcavio::GameNameImport import(ARCAVIO_STANDIN, workspace().dir.file("unused.ini"));
        import.readToEnd();
        if (import.setsRead() + 1 < static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the list was not read whole");
    }
    unsetenv("ARCAVIO_FAKE_LIST");
}

void importInto(benchmark::State& state, const std::string& emulator, const std::string& startingFile)
{
    const std::string path = workspace().dir.file("import.ini");
    for (auto _ : state) {
        state.PauseTiming();
        arcavio::test::writeBytes(path, startingFile);
        state.ResumeTiming();
        const arcavio::NameImportSummary summary = arcavio::importGameNames(emulator, path);
        state.counters["added"] = static_cast<double>(summary.counts.added);
    }
}

void WholeImportFromStandIn(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    setenv("ARCAVIO_FAKE_LIST", workspace().list(count).c_str(), 1);
    importInto(state, ARCAVIO_STANDIN, userGameList(count));
    unsetenv("ARCAVIO_FAKE_LIST");
}

void RealEmulatorListAlone(benchmark::State& state)
{
    for (auto _ : state)
        if (spawnAndWait({kRealEmulator, "-listfull"}, "/usr/games") != 0)
            state.SkipWithError("the emulator failed");
}

void RealEmulatorWholeImport(benchmark::State& state)
{
    importInto(state, kRealEmulator, "[gamelist]\r\ngalaxian=My Galaxian\r\n");
}

// The select-game dialog over 40,000 zips: with a gamelist.ini naming exactly them, as the
// select-game benchmark has it, and with the one an import of 45,000 names made.
struct Collection {
    TempDir dir;
    std::string roms = dir.mkdir("roms");
    std::string named = dir.file("named.ini");
    std::string imported = dir.file("imported.ini");

    Collection(int zips, int listed)
    {
        std::string list = "[gamelist]\r\n";
        char name[32];
        for (int i = 0; i < zips; ++i) {
            std::snprintf(name, sizeof name, "new%06d", i);
            arcavio::test::writeBytes(roms + "/" + name + ".zip", "");
            list += std::string(name) + "=Game number " + std::to_string(i) + " (Arcade)\r\n";
        }
        arcavio::test::writeBytes(named, list);
        setenv("ARCAVIO_FAKE_LIST", workspace().list(listed).c_str(), 1);
        arcavio::importGameNames(ARCAVIO_STANDIN, imported);
        unsetenv("ARCAVIO_FAKE_LIST");
    }

    static Collection& shared()
    {
        static Collection made(40000, 45000);
        return made;
    }
};

void showNamedList(benchmark::State& state, const std::string& gameList)
{
    const Collection& collection = Collection::shared();
    arcavio::Language language;
    arcavio::SelectGameDialog dialog(language);
    dialog.setGameListPath(gameList);
    dialog.setZipDirectory(collection.roms);
    for (auto _ : state) {
        dialog.refreshZipListing();
        dialog.prepareForShowing();
        dialog.show();
        QApplication::processEvents();
        state.PauseTiming();
        if (dialog.rowZips().size() != 40000)
            state.SkipWithError("the named list is not complete");
        dialog.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void SelectGameNamedByHand(benchmark::State& state)
{
    showNamedList(state, Collection::shared().named);
}

void SelectGameAfterImport(benchmark::State& state)
{
    showNamedList(state, Collection::shared().imported);
}

BENCHMARK(MergeAlone)->Arg(45000)->Arg(90000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MergeAndWrite)->Arg(45000)->Arg(90000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CatToDevNull)->Arg(45000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadAndParse)->Arg(45000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WholeImportFromStandIn)->Arg(45000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SelectGameNamedByHand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SelectGameAfterImport)->Unit(benchmark::kMillisecond)->UseRealTime();

// The promises with their figures side by side.
void printSummary(const arcavio::bench::Figures& ms)
{
    using arcavio::bench::verdict;
    std::printf("\nImporting game names\n");
    const double merge45 = ms("MergeAndWrite/45000/real_time"), merge90 = ms("MergeAndWrite/90000/real_time");
    std::printf("  merge 45,000 new names into 45,000 lines: %.1f ms alone, %.1f ms with reading and "
                "writing the file (%s 100 ms)\n",
                ms("MergeAlone/45000/real_time"), merge45, verdict(merge45 < 100));
    std::printf("  the same with 90,000: %.1f ms alone, %.1f ms with the file: %.2f times as long (%s 2.5)\n",
                ms("MergeAlone/90000/real_time"), merge90, merge90 / merge45,
                verdict(merge90 / merge45 <= 2.5));
    const double cat = ms("CatToDevNull/45000/real_time"), read = ms("ReadAndParse/45000/real_time");
    std::printf("  45,000 listed lines: cat into /dev/null %.1f ms, read through a pipe and parsed %.1f ms: "
                "%.1f ms beyond cat (%s 50 ms)\n",
                cat, read, read - cat, verdict(read - cat < 50));
    std::printf("  whole import of 45,000 names from the stand-in: %.1f ms\n",
                ms("WholeImportFromStandIn/45000/real_time"));
    const double alone = ms("RealEmulatorListAlone/iterations:3/real_time");
    const double whole = ms("RealEmulatorWholeImport/iterations:3/real_time");
    if (alone > 0 && whole > 0) {
        const double limit = 1.5 * alone + 500;
        std::printf("  real emulator: its own -listfull %.0f ms, the whole import %.0f ms (%s 1.5 x %.0f + "
                    "500 = %.0f ms)\n",
                    alone, whole, verdict(whole <= limit), alone, limit);
    } else {
        std::printf("  real emulator: not measured, no MAME is installed at %s\n", kRealEmulator);
    }
    const double before = ms("SelectGameNamedByHand/real_time"),
                 after = ms("SelectGameAfterImport/real_time");
    std::printf("  select-game over 40,000 zips: %.1f ms with a list of their names, %.1f ms after an import "
                "of 45,000 names (%.0f %%)\n",
                before, after, 100 * after / before);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    if (fs::exists(kRealEmulator)) {
        arcavio::bench::registerRealTime("RealEmulatorListAlone", RealEmulatorListAlone, 3);
        arcavio::bench::registerRealTime("RealEmulatorWholeImport", RealEmulatorWholeImport, 3);
    }
    return arcavio::bench::runWithSummary(argc, argv, printSummary);
}
