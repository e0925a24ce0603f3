// The whole preview of a small metafile: drawn inside the program (as before the metafile
// program existed) and through the metafile program, which adds starting a process and
// handing the file and the pixels over pipes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "components/metafileconversion.h"
#include "components/metafiledrawing.h"
#include "components/metafilerenderer.h"
#include "components/picture.h"
#include "report.h"
#include "support/metafile_samples.h"

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

// Before and after on one line for each kind of file.
void printSummary(const arcavio::bench::Figures& ms)
{
    std::printf("\n%-6s %14s %18s\n", "file", "in process", "separate program");
    for (const char* kind : {"Emf", "Wmf"}) {
        const double before = ms(std::string(kind) + "_InProcess");
        const double after = ms(std::string(kind) + "_SeparateProgram");
        std::printf("%-6s %11.2f ms %15.2f ms\n", kind, before, after);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);
    arcavio::metafileRenderer().program = ARCAVIO_BUILD_DIR "/arcavio-metafile";
    return arcavio::bench::runWithSummary(argc, argv, printSummary);
}
