// The shaped button's region: built in one pass, against one subtraction per key pixel.
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include <QImage>
#include <benchmark/benchmark.h>

#include "components/shaperegion.h"

namespace {

// Noise in three colours: about a third of the pixels are cut, and almost every row has
// runs of its own, the worst case for both methods.
QImage busyPicture(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> pick(0, 2);
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(200, 30, 30)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixel(x, y, colours[pick(random)]);
    image.setPixel(0, 0, colours[0]);
    return image;
}

void perPixel(benchmark::State& state)
{
    const QImage picture = busyPicture(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(arcavio::keyedRegionPerPixel(picture));
}

void onePass(benchmark::State& state)
{
    const QImage picture = busyPicture(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(arcavio::keyedRegion(picture));
}

BENCHMARK(perPixel)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(onePass)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

// Shows the runs as usual and keeps each one's seconds per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    std::map<std::string, double> cpuSeconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.iterations > 0) {
                const auto iterations = static_cast<double>(run.iterations);
                seconds[run.benchmark_name()] = run.real_accumulated_time / iterations;
                cpuSeconds[run.benchmark_name()] = run.cpu_accumulated_time / iterations;
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    // A fast wrong answer is worth nothing: both methods must agree before they are timed.
    const QImage sample = busyPicture(64);
    if (!arcavio::keyedRegion(sample).xored(arcavio::keyedRegionPerPixel(sample)).isEmpty() ||
        arcavio::keyedRegion(sample).isEmpty()) {
        std::fprintf(stderr, "the one-pass region differs from the per-pixel one\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto find = [&](const char* name) {
        const auto it = reporter.seconds.find(name);
        return it == reporter.seconds.end() ? -1.0 : it->second;
    };
    const auto cpu = [&](const char* name) {
        const auto it = reporter.cpuSeconds.find(name);
        return it == reporter.cpuSeconds.end() ? -1.0 : it->second * 1e3;
    };
    const double slow = find("perPixel/256/iterations:1");
    const double fast = find("onePass/256");
    const double large = find("onePass/512");
    if (slow > 0 && fast > 0) {
        const double ratio = slow / fast;
        std::printf("256 x 256 busy picture: per pixel %.1f ms, one pass %.4f ms, one pass is %.0f times "
                    "faster (promised: at least 1000) %s\n",
                    slow * 1e3, fast * 1e3, ratio, ratio >= 1000 ? "met" : "NOT MET");
    }
    if (large > 0)
        std::printf("512 x 512 busy picture: one pass %.4f ms, %.4f ms of processor time (promised: under "
                    "5 ms) %s\n",
                    large * 1e3, cpu("onePass/512"), large < 5e-3 ? "met" : "NOT MET");
    return 0;
}
