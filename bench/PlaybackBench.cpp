// One playback time step over many persons: the cost per person and step.

#include "EvacuationAnalysis.h"
#include "LogFile.h"
#include "MoveArena.h"
#include "PersonData.h"
#include "Replay.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int32_t PersonCount = 100000;
constexpr std::int32_t XMax = 400;
constexpr std::int32_t YMax = 200;

// Persons with lists of varying length and a mix of walking, standing and deck changes, the
// lists one after another in the arena as a load leaves them.
std::vector<TPersonData> MakePersons(TMoveArena& arena) {
    std::vector<TPersonData> persons;
    persons.reserve(PersonCount);
    for (std::int32_t i = 0; i < PersonCount; ++i) {
        persons.emplace_back(&arena);
    }
    std::uint64_t seed = 0x9e3779b97f4a7c15ULL;
    const auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    for (TPersonData& person : persons) {
        person.Init(static_cast<std::int32_t>(next() % XMax),
                    static_cast<std::int32_t>(next() % YMax), 0, 1, 0, XMax, YMax);
        const auto length = static_cast<std::int32_t>(200 + next() % 400);
        std::vector<TMove> moves;
        for (std::int32_t k = 0; k < length; ++k) {
            const auto direction = static_cast<std::int32_t>(next() % 9);
            const std::int32_t levelChange = next() % 97 == 0 ? 1 : 0;
            moves.push_back({direction, levelChange});
        }
        person.AssignMoves(moves);
    }
    return persons;
}

void CountPersonSteps(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * PersonCount);
    state.counters["ns_per_person_step"] =
        benchmark::Counter(static_cast<double>(state.iterations() * PersonCount),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PlaybackStep(benchmark::State& state) {
    TMoveArena arena;
    std::vector<TPersonData> persons = MakePersons(arena);
    std::int32_t step = 0;
    std::int32_t saved = 0;
    for (auto _ : state) {
        saved = StepAllForward(persons, step);
        ++step;
        if (saved == PersonCount) {
            state.PauseTiming();
            for (TPersonData& person : persons) {
                person.Reset(XMax, YMax);
            }
            step = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(saved);
    }
    CountPersonSteps(state);
}
BENCHMARK(BM_PlaybackStep)->Unit(benchmark::kMicrosecond);

void BM_PlaybackStepBack(benchmark::State& state) {
    TMoveArena arena;
    std::vector<TPersonData> persons = MakePersons(arena);
    constexpr std::int32_t Start = 300;
    for (std::int32_t k = 0; k < Start; ++k) {
        StepAllForward(persons, k);
    }
    std::int32_t step = Start;
    for (auto _ : state) {
        --step;
        benchmark::DoNotOptimize(StepAllBackward(persons, step));
        if (step == 0) {
            state.PauseTiming();
            for (std::int32_t k = 0; k < Start; ++k) {
                StepAllForward(persons, k);
            }
            step = Start;
            state.ResumeTiming();
        }
    }
    CountPersonSteps(state);
}
BENCHMARK(BM_PlaybackStepBack)->Unit(benchmark::kMicrosecond);

// The congestion map up to now moved one step at a time over the same persons, as the window does
// at every step while the map shows: what the map adds to BM_PlaybackStep.
void BM_CongestionMapStep(benchmark::State& state) {
    TLogFile project("floor");
    project.XMax = XMax;
    project.YMax = YMax;
    project.ZMax = 8; // the persons' deck changes climb a few decks
    project.VMax = 4;
    project.PMax = PersonCount;
    project.Decks.resize(8);
    project.Persons = MakePersons(project.MoveMemory);
    const TEvacuationAnalysis analysis = AnalyseEvacuation(project, TStandingChanges::Kept);
    TCongestionMapNow now(analysis.Map);
    const std::int32_t end = ReplayEndStep(project);
    std::int32_t step = 0;
    for (auto _ : state) {
        step = step < end ? step + 1 : 0; // back to the start after the end, as playing does
        now.MoveTo(step, step / project.VMax);
        benchmark::DoNotOptimize(now.Map().StandingSeconds.data());
    }
    state.counters["changes"] = double(analysis.Map.Changes.size());
    CountPersonSteps(state);
}
BENCHMARK(BM_CongestionMapStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
