#pragma once
// Benchmark inputs are large generated files; scripts/bench makes them and names them here.

#include <benchmark/benchmark.h>

#include <cstdlib>
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
