// Showing the select-game dialog over a full arcade collection: listing the ROM directory,
// reading gamelist.ini, naming every zip and filling the list; then "Show all Zip files"; then
// typing into the list to find a game, and closing the find.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/language.h"
#include "games/selectgamedialog.h"
#include "games/ziplisting.h"
#include "platform/filesystem.h"
#include "text/nameorder.h"

namespace {

namespace fs = std::filesystem;

// A ROM directory of `count` empty zips and a gamelist.ini naming every one, built once.
struct Collection {
    fs::path root;
    std::string roms;
    std::string gameList;

    explicit Collection(int count)
    {
        std::string pattern = (fs::temp_directory_path() / "arcavio-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        root = pattern;
        roms = (root / "roms").string();
        fs::create_directory(roms);
        gameList = (root / "gamelist.ini").string();
        std::ofstream list(gameList, std::ios::binary);
        list << "[gamelist]\r\n";
        char name[32];
        for (int i = 0; i < count; ++i) {
            // Mixed case, so the listing's order is not the file system's.
            std::snprintf(name, sizeof name, i % 3 == 0 ? "Rom%06d" : "rom%06d", (i * 7919) % count);
            std::ofstream(roms + "/" + name + ".zip");
            list << name << "=Game number " << i << " (Arcade)\r\n";
        }
    }
    ~Collection()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    static const Collection& of(int count)
    {
        static std::map<int, std::unique_ptr<Collection>> made;
        auto& slot = made[count];
        if (!slot)
            slot = std::make_unique<Collection>(count);
        return *slot;
    }
};

struct Dialog {
    arcavio::Language language;
    arcavio::SelectGameDialog window{language};
    explicit Dialog(const Collection& collection)
    {
        window.setGameListPath(collection.gameList);
        window.setZipDirectory(collection.roms);
    }
};

// What no dialog can go below: listing the directory and reading the file's bytes.
void ListAndReadAlone(benchmark::State& state)
{
    const Collection& collection = Collection::of(static_cast<int>(state.range(0)));
    arcavio::ZipListing listing;
    listing.setDirectory(collection.roms);
    for (auto _ : state) {
        listing.refresh();
        const std::string bytes =
            arcavio::platform::readFile(collection.gameList, arcavio::platform::kGameListFileLimit);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["zips"] = static_cast<double>(listing.names().size());
}

// Sorting the names alone, mixed case and partly accented as a real collection is; a fresh
// copy each time, so every round sorts from the file system's order.
void SortNamesAlone(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<std::string> unsorted;
    unsorted.reserve(static_cast<std::size_t>(count));
    char name[48];
    for (int i = 0; i < count; ++i) {
        const int n = (i * 7919) % count;
        if (i % 10 == 0)
            std::snprintf(name, sizeof name, i % 20 == 0 ? "\u00C9tude%06d.zip" : "\u00E9tude%06d.zip", n);
        else
            std::snprintf(name, sizeof name, i % 3 == 0 ? "Rom%06d.zip" : "rom%06d.zip", n);
        unsorted.emplace_back(name);
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> names = unsorted;
        state.ResumeTiming();
        arcavio::sortIgnoringCase(names);
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["names"] = static_cast<double>(count);
}

void ShowNamedList(benchmark::State& state)
{
    const Collection& collection = Collection::of(static_cast<int>(state.range(0)));
    Dialog dialog(collection);
    for (auto _ : state) {
        dialog.window.refreshZipListing();
        dialog.window.prepareForShowing();
        dialog.window.show();
        QApplication::processEvents();
        state.PauseTiming();
        if (dialog.window.rowZips().size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the named list is not complete");
        dialog.window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["zips"] = static_cast<double>(state.range(0));
}

void ShowAllZipFiles(benchmark::State& state)
{
    const Collection& collection = Collection::of(static_cast<int>(state.range(0)));
    Dialog dialog(collection);
    dialog.window.refreshZipListing();
    dialog.window.prepareForShowing();
    dialog.window.show();
    QApplication::processEvents();
    auto* showAll = dialog.window.findChild<QCheckBox*>("C135");
    for (auto _ : state) {
        showAll->setChecked(true);
        QApplication::processEvents();
        state.PauseTiming();
        if (dialog.window.rowZips().size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the full list is not complete");
        showAll->setChecked(false);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["zips"] = static_cast<double>(state.range(0));
}

// A key typed into the list, as the keyboard delivers it, until the list has painted what it
// shows: one frame at 60 Hz is the most a keystroke may take.
constexpr double kFrameMs = 16.0;

struct FindingDialog : Dialog {
    QListView* list;
    QLineEdit* field;
    int paints = 0;

    explicit FindingDialog(const Collection& collection) : Dialog(collection)
    {
        window.refreshZipListing();
        window.prepareForShowing();
        window.show();
        QApplication::processEvents();
        list = window.findChild<QListView*>("gamelist");
        field = window.findChild<QLineEdit*>("gamefind");
        list->setFocus();
        list->viewport()->installEventFilter(&paintCounter);
        paintCounter.paints = &paints;
    }
    void key(Qt::Key key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(list, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(list, &release);
        QApplication::processEvents();
    }
    // Shown and painted rows, or why not.
    const char* problem(std::size_t rows, int paintsBefore) const
    {
        if (paints == paintsBefore)
            return "the list did not paint";
        if (static_cast<std::size_t>(list->model()->rowCount()) != rows)
            return "the list does not show the rows found";
        return nullptr;
    }

    struct PaintCounter : QObject {
        int* paints = nullptr;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++*paints;
            return false;
        }
    } paintCounter;
};

// Typing the first character (the whole list is searched and most rows stay) and a second one.
void FindTypedCharacter(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const bool second = state.range(1) != 0;
    FindingDialog dialog(Collection::of(count));
    std::size_t shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (second)
            dialog.key(Qt::Key_1, QStringLiteral("1"));
        const int paints = dialog.paints;
        state.ResumeTiming();
        dialog.key(second ? Qt::Key_2 : Qt::Key_1, second ? QStringLiteral("2") : QStringLiteral("1"));
        state.PauseTiming();
        shown = static_cast<std::size_t>(dialog.list->model()->rowCount());
        const std::string typed = dialog.field->text().toStdString();
        if (typed != (second ? "12" : "1") || shown == 0 || shown == static_cast<std::size_t>(count))
            state.SkipWithError("the find did not narrow the list");
        else if (const char* problem = dialog.problem(shown, paints))
            state.SkipWithError(problem);
        dialog.key(Qt::Key_Escape, {});
        state.ResumeTiming();
    }
    state.counters["rows"] = count;
    state.counters["shown"] = static_cast<double>(shown);
    state.counters["floor_ms"] = kFrameMs;
}

// Escape, from a find that shows few rows back to the whole list.
void CloseFind(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    FindingDialog dialog(Collection::of(count));
    for (auto _ : state) {
        state.PauseTiming();
        dialog.key(Qt::Key_1, QStringLiteral("1"));
        dialog.key(Qt::Key_2, QStringLiteral("2"));
        dialog.key(Qt::Key_3, QStringLiteral("3"));
        const int paints = dialog.paints;
        state.ResumeTiming();
        dialog.key(Qt::Key_Escape, {});
        state.PauseTiming();
        if (!dialog.field->isHidden())
            state.SkipWithError("Escape did not close the find");
        else if (const char* problem = dialog.problem(static_cast<std::size_t>(count), paints))
            state.SkipWithError(problem);
        state.ResumeTiming();
    }
    state.counters["rows"] = count;
    state.counters["floor_ms"] = kFrameMs;
}

BENCHMARK(ListAndReadAlone)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SortNamesAlone)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowNamedList)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowAllZipFiles)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FindTypedCharacter)
    ->ArgNames({"rows", "second"})
    ->Args({45000, 0})
    ->Args({45000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(CloseFind)->Arg(45000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
