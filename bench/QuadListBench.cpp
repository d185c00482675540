// Merging a large deck into its quad list, against one plain pass over the same cells.

#include "BenchFiles.h"
#include "BoxReports.h"
#include "LogFile.h"
#include "RecordingUiServices.h"

#include <algorithm>

namespace {

// The largest deck of the benchmark file, with its cells not yet covered by any quad.
struct TBenchDeck {
    std::vector<TCell> Cells;
    std::int32_t XMax = 0;
    std::int32_t YMax = 0;
};

TBenchDeck LoadDeck(const std::string& path) {
    TBenchProject loaded;
    TLogFile& project = loaded.Project;
    loaded.Load(path);
    TBenchDeck deck;
    if (project.Decks.empty()) {
        return deck;
    }
    deck.Cells = project.Decks[0].Cells;
    for (TCell& cell : deck.Cells) {
        cell.Covered = false;
    }
    deck.XMax = project.XMax;
    deck.YMax = project.YMax;
    return deck;
}

const TBenchDeck& BenchDeck(const std::string& path) {
    static const TBenchDeck deck = LoadDeck(path);
    return deck;
}

void BM_PlainCellPassBaseline(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_DECK");
    if (path.empty()) {
        return;
    }
    const TBenchDeck& deck = BenchDeck(path);
    for (auto _ : state) {
        const auto cells = std::count_if(deck.Cells.begin(), deck.Cells.end(),
                                         [](const TCell& cell) { return cell.Kind != CellVoid; });
        benchmark::DoNotOptimize(cells);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(deck.Cells.size()));
}
BENCHMARK(BM_PlainCellPassBaseline)->Unit(benchmark::kMillisecond);

void BM_BuildQuadList(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_DECK");
    if (path.empty()) {
        return;
    }
    const TBenchDeck& source = BenchDeck(path);
    TRecordingUiServices ui;
    TScopedUiServices installed(ui);
    TNoProgressWindow progress;
    TBoxReports reports;
    TDeck deck;
    for (auto _ : state) {
        state.PauseTiming();
        deck.Cells = source.Cells;
        state.ResumeTiming();
        deck.BuildQuadList(source.XMax, source.YMax, progress, reports);
        benchmark::DoNotOptimize(deck.Quads.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(source.Cells.size()));
    state.counters["quads"] = deck.QuadCount;
}
BENCHMARK(BM_BuildQuadList)->Unit(benchmark::kMillisecond);

} // namespace
