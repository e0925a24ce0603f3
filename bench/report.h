#pragma once

// How the benchmarks print their promises: the usual table first, then each figure beside the
// floor it is held to, from the same run.
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace arcavio::bench {

inline const char* verdict(bool withinFloor)
{
    return withinFloor ? "within" : "OVER";
}

// The real time of each run by its full name ("Name/arg/real_time"), in the unit it was timed
// in; -1 for one that did not run or failed.
class Figures {
  public:
    double operator()(const std::string& name) const
    {
        const auto found = times_.find(name);
        return found != times_.end() ? found->second : -1.0;
    }
    void keep(const std::string& name, double time) { times_[name] = time; }

  private:
    std::map<std::string, double> times_;
};

// The usual table, then `summary` once every benchmark has run.
class SideBySide : public benchmark::ConsoleReporter {
  public:
    explicit SideBySide(std::function<void(const Figures&)> summary) : summary_(std::move(summary)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred)
                figures_.keep(run.benchmark_name(), run.GetAdjustedRealTime());
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        summary_(figures_);
    }

  private:
    std::function<void(const Figures&)> summary_;
    Figures figures_;
};

// A benchmark registered at run time (one of the installed emulator, when there is one): a fixed
// number of runs, in real milliseconds.
inline void registerRealTime(const char* name, void (*function)(benchmark::State&), int iterations)
{
    benchmark::RegisterBenchmark(name, function)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(iterations);
}

// Runs the benchmarks the command line picks, with `summary` after the usual table.
inline int runWithSummary(int argc, char** argv, std::function<void(const Figures&)> summary)
{
    benchmark::Initialize(&argc, argv);
    SideBySide reporter(std::move(summary));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace arcavio::bench
