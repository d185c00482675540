#pragma once
// Benchmark inputs are large generated files; scripts/bench makes them and names them here.

#include "BoxReports.h"
#include "LogFile.h"
#include "RecordingUiServices.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>

// A project loaded quietly, its boxes recorded: where most benchmarks start.
struct TBenchProject {
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TNoProgressWindow Progress;
    TBoxReports Reports;
    TLogFile Project{"Level"};

    TBenchProject() { Project.ReportTo(Reports); }
    bool Load(const std::string& path) { return Project.Load(path, Progress); }
};

// The path in the environment variable, or empty after marking the benchmark skipped.
inline std::string BenchFile(benchmark::State& state, const char* variable) {
    const char* path = std::getenv(variable);
    if (path == nullptr || *path == '\0') {
        state.SkipWithError((std::string(variable) + " is not set (see scripts/bench)").c_str());
        return {};
    }
    return path;
}

inline std::int64_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

inline double FileMegabytes(const std::string& path) {
    return static_cast<double>(FileSize(path)) / (1024.0 * 1024.0);
}

// Seconds the command `wc -w` takes on the file, the time a load is held against: measured once
// per file in each run of a benchmark program, the best of three.
inline double WcWordsSeconds(const std::string& path) {
    static std::map<std::string, double> measured;
    if (const auto known = measured.find(path); known != measured.end()) {
        return known->second;
    }
    const std::string command = "wc -w '" + path + "' >/dev/null";
    double best = 0.0;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            return measured[path] = 0.0;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = i == 0 ? took.count() : std::min(best, took.count());
    }
    return measured[path] = best;
}

// Times each iteration's load itself, to set the counter "per_wc_w": the mean load against
// `wc -w` on the same file.
class TWcComparison {
public:
    explicit TWcComparison(const std::string& path) : WcSeconds(WcWordsSeconds(path)) {}
    void Start() { Started = std::chrono::steady_clock::now(); }
    void Stop() { Total += std::chrono::steady_clock::now() - Started; }
    void Report(benchmark::State& state, const std::string& counter = "per_wc_w") const {
        state.counters["wc_w_ms"] = WcSeconds * 1000.0;
        if (WcSeconds > 0.0 && state.iterations() > 0) {
            state.counters[counter] =
                Total.count() / static_cast<double>(state.iterations()) / WcSeconds;
        }
    }

private:
    double WcSeconds;
    std::chrono::steady_clock::time_point Started;
    std::chrono::duration<double> Total{0};
};

// Loads the file once per iteration without any window; what is measured of the loaded model
// goes to inspect, outside the timing, before the model is freed (freeing is not loading).
inline void LoadHeadlessIterations(benchmark::State& state, const std::string& path,
                                   const std::function<void(const TLogFile&)>& inspect = {}) {
    TRecordingUiServices ui;
    TScopedUiServices installed(ui);
    TNoProgressWindow progress;
    TBoxReports reports;
    TWcComparison wc(path);
    for (auto _ : state) {
        wc.Start();
        auto project = std::make_unique<TLogFile>("Level");
        project->ReportTo(reports);
        project->Load(path, progress);
        benchmark::DoNotOptimize(project->Persons.data());
        wc.Stop();
        state.PauseTiming();
        if (inspect) {
            inspect(*project);
        }
        project.reset();
        state.ResumeTiming();
    }
    wc.Report(state);
    state.counters["file_MB"] = FileMegabytes(path);
}

// Wall and processor seconds (of all threads) from the moment it is made.
class TStopwatch {
public:
    double WallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - Wall).count();
    }
    double CpuSeconds() const { return double(std::clock() - Cpu) / CLOCKS_PER_SEC; }

private:
    std::chrono::steady_clock::time_point Wall = std::chrono::steady_clock::now();
    std::clock_t Cpu = std::clock();
};
