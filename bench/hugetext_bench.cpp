// Huge lines from files stay interactive: selecting a configuration whose about line is almost
// a mebibyte, and showing the help window over a help.ini that is one line of a mebibyte.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include "app/mainwindow.h"
#include "base/language.h"
#include "dialogs/helpwindow.h"
#include "platform/readlimits.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

void SelectAHugeAboutLine(benchmark::State& state)
{
    arcavio::test::TempDir dir;
    std::string about;
    while (about.size() < arcavio::platform::kConfigurationFileLimit - 100)
        about += "word ";
    dir.write("huge.av2", "/usr/games/mame\r\n\r\n" + about + "\r\n");
    dir.write("small.av2", "/usr/games/mame\r\n\r\nsmall\r\n");
    arcavio::test::CurrentDirectory cd(dir.path());
    arcavio::test::RecordingMessages messages;
    arcavio::MainWindow window;
    window.show();
    auto* list = window.findChild<QListWidget*>("lista");
    std::size_t shown = 0;
    for (auto _ : state) {
        list->setCurrentRow(0);
        QApplication::processEvents();
        state.PauseTiming();
        shown = window.statusText().size();
        list->setCurrentRow(1);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["about_bytes"] = static_cast<double>(about.size());
    state.counters["status_bytes"] = static_cast<double>(shown);
}
BENCHMARK(SelectAHugeAboutLine)->Unit(benchmark::kMillisecond);

void HelpWindowOverAOneLineHelpIni(benchmark::State& state)
{
    arcavio::test::TempDir dir;
    dir.write("help.ini", std::string(arcavio::platform::kHelpFileLimit, 'h'));
    arcavio::test::CurrentDirectory cd(dir.path());
    arcavio::test::RecordingMessages messages;
    const arcavio::Language language;
    for (auto _ : state) {
        arcavio::HelpWindow window(language);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(HelpWindowOverAOneLineHelpIni)->Unit(benchmark::kMillisecond);

} // namespace
