// Loading a large log file, against a plain whitespace word count over the same bytes.

#include "BenchFiles.h"
#include "ByteSource.h"
#include "Congestion.h"
#include "EvacuationAnalysis.h"
#include "Flows.h"
#include "LogFile.h"
#include "LogScanner.h"
#include "RecordingUiServices.h"
#include "Replay.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <string_view>

namespace {

// What `wc -w` does: count the starts of words, chunk by chunk.
std::int64_t CountWords(const std::string& path) {
    TFileSource source;
    if (!source.Open(path)) {
        return -1;
    }
    constexpr std::size_t ChunkSize = std::size_t{1} << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(ChunkSize);
    std::int64_t words = 0;
    bool inWord = false;
    for (std::size_t n; (n = source.Read(buffer.get(), ChunkSize)) > 0;) {
        for (std::size_t i = 0; i < n; ++i) {
            const bool blank = TLogScanner::IsBlank(static_cast<unsigned char>(buffer[i]));
            words += (!blank && !inWord) ? 1 : 0;
            inWord = !blank;
        }
    }
    return words;
}

double ModelMegabytes(const TLogFile& project) {
    return static_cast<double>(project.ModelBytes()) / (1024.0 * 1024.0);
}

void BM_WordCountBaseline(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_LOG");
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountWords(path));
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}
BENCHMARK(BM_WordCountBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

// The model's size against the file's, for a file written with runs and one written without.
void LoadAndMeasureModel(benchmark::State& state, const char* variable) {
    const std::string path = BenchFile(state, variable);
    LoadHeadlessIterations(state, path, [&state, &path](const TLogFile& project) {
        state.counters["model_MB"] = ModelMegabytes(project);
        state.counters["model_per_file"] = ModelMegabytes(project) / FileMegabytes(path);
    });
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}

void BM_LoadLogFile(benchmark::State& state) {
    LoadAndMeasureModel(state, "AMBLA_BENCH_LOG");
}
BENCHMARK(BM_LoadLogFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadLogFileWithoutRuns(benchmark::State& state) {
    LoadAndMeasureModel(state, "AMBLA_BENCH_LOG_NO_RUNS");
}
BENCHMARK(BM_LoadLogFileWithoutRuns)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_LoadLogFile1GB(benchmark::State& state) {
    LoadAndMeasureModel(state, "AMBLA_BENCH_LOG_1GB");
}
BENCHMARK(BM_LoadLogFile1GB)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

namespace {

// The evacuation curve and the congestion map of the 200 MB file, against loading it in the same
// run: analysis_per_load.
// An analysis of the loaded 200 MB file against its load, wall and processor time of the same
// run (the analyses use both cores; the load's processor time counts its threads too).
template <typename TAnalyse> void AnalysisAgainstLoad(benchmark::State& state, TAnalyse analyse) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_LOG");
    if (path.empty()) {
        return;
    }
    TBenchProject loaded;
    const TStopwatch load;
    loaded.Load(path);
    const double loadWall = load.WallSeconds();
    const double loadCpu = load.CpuSeconds();
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        const TStopwatch run;
        analyse(loaded.Project);
        wall += run.WallSeconds();
        cpu += run.CpuSeconds();
    }
    const auto runs = double(state.iterations());
    state.counters["load_s"] = loadWall;
    state.counters["load_cpu_s"] = loadCpu;
    state.counters["analysis_per_load"] = wall / runs / loadWall;
    state.counters["analysis_cpu_per_load_cpu"] = cpu / runs / loadCpu;
}

void BM_EvacuationAnalysis(benchmark::State& state) {
    AnalysisAgainstLoad(state, [](const TLogFile& project) {
        const TEvacuationAnalysis analysis = AnalyseEvacuation(project);
        benchmark::DoNotOptimize(analysis.Curve.Saved.data());
    });
}
BENCHMARK(BM_EvacuationAnalysis)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FlowsAnalysis(benchmark::State& state) {
    AnalysisAgainstLoad(state, [](const TLogFile& project) {
        const TFlowReport flows = AnalyseFlows(project, {});
        benchmark::DoNotOptimize(flows.Places.data());
    });
}
BENCHMARK(BM_FlowsAnalysis)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CongestionAnalysis(benchmark::State& state) {
    AnalysisAgainstLoad(state, [](const TLogFile& project) {
        const TCongestionReport congestion = AnalyseCongestion(project, {});
        benchmark::DoNotOptimize(congestion.Regions.data());
    });
}
BENCHMARK(BM_CongestionAnalysis)->Unit(benchmark::kMillisecond)->Iterations(1);

// A jump of the 200 MB file's replay from its start to its end, and back to the middle, as the
// slider or End asks for it.
void BM_SeekAcrossTheReplay(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_LOG");
    if (path.empty()) {
        return;
    }
    TBenchProject loaded;
    TLogFile& project = loaded.Project;
    loaded.Load(path);
    TReplay replay;
    replay.SetProject(&project);
    for (auto _ : state) {
        replay.SeekToSecond(replay.LastSecond());
        replay.SeekToSecond(replay.LastSecond() / 2);
        benchmark::DoNotOptimize(replay.SavedCount());
    }
    state.counters["seconds_of_replay"] = replay.LastSecond();
    state.counters["persons"] = static_cast<double>(project.Persons.size());
}
BENCHMARK(BM_SeekAcrossTheReplay)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

namespace {

// The least work any loader must do: read the file in chunks of 1 MB and take every number of its
// persons' section (start positions and moves: digits, P<n>x<d>, U<d> and D<d>), summing them.
class TFloorTokeniser {
public:
    // Without branches on the bytes, so that single-digit words cost no mispredicted jumps.
    void Feed(const char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const auto digit = static_cast<unsigned>(static_cast<unsigned char>(bytes[i]) - '0');
            const bool isDigit = digit < 10;
            Sum += isDigit ? 0 : Value;
            Numbers += (!isDigit && InNumber) ? 1 : 0;
            Value = isDigit ? Value * 10 + digit : 0;
            InNumber = isDigit;
        }
    }
    std::uint64_t Sum = 0;
    std::uint64_t Numbers = 0;

private:
    std::uint64_t Value = 0;
    bool InNumber = false;
};

std::uint64_t FloorOfLoad(const std::string& path) {
    TFileSource source;
    if (!source.Open(path)) {
        return 0;
    }
    constexpr std::size_t ChunkSize = std::size_t{1} << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(ChunkSize);
    const std::string_view persons = "<persons>";
    TFloorTokeniser tokens;
    bool inPersons = false;
    for (std::size_t n; (n = source.Read(buffer.get(), ChunkSize)) > 0;) {
        std::size_t from = 0;
        if (!inPersons) {
            // The tag is looked for within a chunk: decks end with whole lines, and a tag cut by
            // a chunk's end only moves the start of the floor's work by a chunk.
            const std::string_view chunk(buffer.get(), n);
            const std::size_t at = chunk.find(persons);
            if (at == std::string_view::npos) {
                continue;
            }
            inPersons = true;
            from = at + persons.size();
        }
        tokens.Feed(buffer.get() + from, n - from);
    }
    return tokens.Sum + tokens.Numbers;
}

// A load of a file of one style against the floor on the same file, rounds interleaved so that
// both meet the same machine: processor and wall time of the load per those of the floor. The
// load reads the second half of the moves ahead on a second thread, or reads alone.
enum class TThreads { Two, One };

void LoadAgainstFloor(benchmark::State& state, const char* variable,
                      TThreads threads = TThreads::Two) {
    const std::string path = BenchFile(state, variable);
    if (path.empty()) {
        return;
    }
    double floorWall = 0, floorCpu = 0, loadWall = 0, loadCpu = 0;
    for (auto _ : state) {
        const TStopwatch floor;
        benchmark::DoNotOptimize(FloorOfLoad(path));
        floorWall += floor.WallSeconds();
        floorCpu += floor.CpuSeconds();
        TBenchProject loaded;
        if (threads == TThreads::One) {
            loaded.Project.ReadAheadFrom = -1;
        }
        const TStopwatch load;
        loaded.Load(path);
        loadWall += load.WallSeconds();
        loadCpu += load.CpuSeconds();
        benchmark::DoNotOptimize(loaded.Project.Persons.data());
    }
    const auto rounds = double(state.iterations());
    state.counters["file_MB"] = FileMegabytes(path);
    state.counters["floor_MB_per_s"] = FileMegabytes(path) * rounds / floorWall;
    state.counters["load_s"] = loadWall / rounds;
    state.counters["load_per_floor_wall"] = loadWall / floorWall;
    state.counters["load_per_floor_cpu"] = loadCpu / floorCpu;
}

// Almost every move a single digit, few runs.
void BM_LoadAgainstFloorWordDense(benchmark::State& state) {
    LoadAgainstFloor(state, "AMBLA_BENCH_LOG_WORDS");
}
BENCHMARK(BM_LoadAgainstFloorWordDense)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// The same read by one thread alone.
void BM_LoadAgainstFloorWordDenseOneThread(benchmark::State& state) {
    LoadAgainstFloor(state, "AMBLA_BENCH_LOG_WORDS", TThreads::One);
}
BENCHMARK(BM_LoadAgainstFloorWordDenseOneThread)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// Runs of three or more equal moves folded, as the generator writes by default.
void BM_LoadAgainstFloorRunHeavy(benchmark::State& state) {
    LoadAgainstFloor(state, "AMBLA_BENCH_LOG");
}
BENCHMARK(BM_LoadAgainstFloorRunHeavy)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Every time step on its own.
void BM_LoadAgainstFloorWithoutRuns(benchmark::State& state) {
    LoadAgainstFloor(state, "AMBLA_BENCH_LOG_PLAIN");
}
BENCHMARK(BM_LoadAgainstFloorWithoutRuns)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

} // namespace
