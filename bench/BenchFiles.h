#pragma once
// Benchmark inputs are large generated files; scripts/bench makes them and names them here.

#include "LogFile.h"
#include "RecordingUiServices.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

// The path in the environment variable, or empty after marking the benchmark skipped.
inline std::string BenchFile(benchmark::State& state, const char* variable) {
    const char* path = std::getenv(variable);
    if (path == nullptr || *path == '\0') {
        state.SkipWithError((std::string(variable) + " is not set (see scripts/bench)").c_str());
        return {};
    }
    return path;
}

// Loads the file once per iteration without any window; what is measured of the loaded model
// goes to inspect, outside the timing, before the model is freed (freeing is not loading).
inline void LoadHeadlessIterations(benchmark::State& state, const std::string& path,
                                   const std::function<void(const TLogFile1&)>& inspect = {}) {
    TRecordingUiServices ui;
    TScopedUiServices installed(ui);
    TNoProgressWindow progress;
    for (auto _ : state) {
        auto project = std::make_unique<TLogFile1>("Level");
        project->Load(path, progress);
        benchmark::DoNotOptimize(project->Persons.data());
        state.PauseTiming();
        if (inspect) {
            inspect(*project);
        }
        project.reset();
        state.ResumeTiming();
    }
}
