// The whole preview of a small metafile: drawn inside the program (as before the metafile
// program existed) and through the metafile program, which adds starting a process and
// handing the file and the pixels over pipes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <map>

#include "components/metafile_samples.h"
#include "components/metafileconversion.h"
#include "components/metafiledrawing.h"
#include "components/metafilerenderer.h"
#include "components/picture.h"

namespace {

using arcavio::PictureFormat;

QImage inProcess(const std::string& bytes, PictureFormat format)
{
    return arcavio::drawSvg(format == PictureFormat::EnhancedMetafile ? arcavio::enhancedMetafileToSvg(bytes)
                                                                      : arcavio::metafileToSvg(bytes));
}

void preview(benchmark::State& state, const std::string& bytes, PictureFormat format, bool separate)
{
    for (auto _ : state) {
        const QImage image = separate ? arcavio::decodePicture(bytes, format) : inProcess(bytes, format);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void Emf_InProcess(benchmark::State& state)
{
    preview(state, arcavio::test::enhancedMetafileSample(), PictureFormat::EnhancedMetafile, false);
}
void Emf_SeparateProgram(benchmark::State& state)
{
    preview(state, arcavio::test::enhancedMetafileSample(), PictureFormat::EnhancedMetafile, true);
}
void Wmf_InProcess(benchmark::State& state)
{
    preview(state, arcavio::test::metafileSample(), PictureFormat::Metafile, false);
}
void Wmf_SeparateProgram(benchmark::State& state)
{
    preview(state, arcavio::test::metafileSample(), PictureFormat::Metafile, true);
}
BENCHMARK(Emf_InProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(Emf_SeparateProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(Wmf_InProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(Wmf_SeparateProgram)->Unit(benchmark::kMillisecond);

// The usual table, then before and after on one line for each kind of file.
class SideBySide : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            milliseconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-6s %14s %18s\n", "file", "in process", "separate program");
        for (const char* kind : {"Emf", "Wmf"}) {
            const double before = milliseconds_[std::string(kind) + "_InProcess"];
            const double after = milliseconds_[std::string(kind) + "_SeparateProgram"];
            std::printf("%-6s %11.2f ms %15.2f ms\n", kind, before, after);
        }
    }

  private:
    std::map<std::string, double> milliseconds_;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);
    arcavio::metafileRenderer().program = ARCAVIO_BUILD_DIR "/arcavio-metafile";
    benchmark::Initialize(&argc, argv);
    SideBySide reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
