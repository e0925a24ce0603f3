// Start-up of the main window over a directory of 2,000 configurations, and one refresh.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include "app/mainwindow.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

arcavio::test::TempDir& workspace()
{
    static arcavio::test::TempDir dir;
    static const bool filled = [] {
        const std::string about = "/usr/games/mame\r\n\r\nA configuration\r\n";
        for (int i = 0; i < 2000; ++i)
            dir.write("config " + std::to_string(i) + ".av2", about);
        return true;
    }();
    (void)filled;
    return dir;
}

void MainWindowShown(benchmark::State& state)
{
    arcavio::test::CurrentDirectory cd(workspace().path());
    arcavio::test::RecordingMessages messages;
    for (auto _ : state) {
        arcavio::MainWindow window;
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(MainWindowShown)->Unit(benchmark::kMillisecond);

void RefreshOf2000(benchmark::State& state)
{
    arcavio::test::CurrentDirectory cd(workspace().path());
    arcavio::test::RecordingMessages messages;
    arcavio::MainWindow window;
    for (auto _ : state)
        window.refreshList();
    state.counters["rows"] = static_cast<double>(window.configurationList().names().size());
}
BENCHMARK(RefreshOf2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    std::printf("QApplication start-up: %.1f ms\n", static_cast<double>(clock.nsecsElapsed()) / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
