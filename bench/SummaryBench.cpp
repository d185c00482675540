// Many runs of a scenario summarised together, two at once, against the sum of summarising each
// alone in the same run: together_per_alone in wall time and in processor time of all threads.

#include "BenchFiles.h"
#include "RunSummary.h"

#include <algorithm>
#include <filesystem>

namespace {

std::vector<std::string> LogsIn(const std::string& folder) {
    std::vector<std::string> logs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".3dl") {
            logs.push_back(entry.path().string());
        }
    }
    std::ranges::sort(logs);
    return logs;
}

void BM_SummaryOfRuns(benchmark::State& state) {
    const std::string folder = BenchFile(state, "AMBLA_BENCH_RUNS");
    if (folder.empty()) {
        return;
    }
    const std::vector<std::string> logs = LogsIn(folder);
    double aloneWall = 0;
    double aloneCpu = 0;
    double togetherWall = 0;
    double togetherCpu = 0;
    for (auto _ : state) {
        const TStopwatch alone;
        for (const std::string& log : logs) {
            benchmark::DoNotOptimize(SummariseRuns({log}, {}, 1, false).front().Persons);
        }
        aloneWall += alone.WallSeconds();
        aloneCpu += alone.CpuSeconds();
        const TStopwatch together;
        benchmark::DoNotOptimize(SummariseRuns(logs, {}, 2, false).size());
        togetherWall += together.WallSeconds();
        togetherCpu += together.CpuSeconds();
    }
    state.counters["logs"] = double(logs.size());
    state.counters["alone_s"] = aloneWall / double(state.iterations());
    state.counters["together_s"] = togetherWall / double(state.iterations());
    state.counters["together_per_alone"] = togetherWall / aloneWall;
    state.counters["together_cpu_per_alone_cpu"] = togetherCpu / aloneCpu;
}
BENCHMARK(BM_SummaryOfRuns)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
