// One frame of deck 0 at 1280 x 800 as the view draws it, rendered and read back, against its
// floor: the same triangles (the persons' prisms where they stand, then the deck's quads split in
// two) from one vertex buffer in one draw call, in a view of the same size, camera and lights,
// read back the same way. Frame and floor take turns in every iteration, so that both meet the
// same load of the machine; frame_per_floor tells what the view's way of drawing costs against
// drawing every triangle anew: the view keeps the deck alone from frame to frame and draws only
// the persons over a copy of it.

#include "BenchFiles.h"
#include "DeckGeometry.h"
#include "DeckRenderer.h"
#include "DeckView.h"
#include "EvacuationAnalysis.h"
#include "PersonPrisms.h"
#include "Replay.h"
#include "Trails.h"
#include "Waiting.h"

#include <QOpenGLBuffer>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

namespace {

constexpr float PersonGreen[3] = {0, 1, 0};

// Calls shown(state) for every person a frame of deck 0 shows.
template <typename TShown> void ForEachPersonOnDeckZero(const TLogFile& project, TShown shown) {
    const std::size_t count =
        std::min(project.Persons.size(), static_cast<std::size_t>(std::max(project.PMax, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        const TPersonData::TState state = project.Persons[i].GetState();
        if (state.Level == 0) {
            shown(state);
        }
    }
}

void AppendPersons(std::vector<TDeckVertex>& vertices, const TLogFile& project) {
    TPersonPrisms persons;
    ForEachPersonOnDeckZero(project, [&persons](const TPersonData::TState& state) {
        persons.Add(state.X, state.Y, state.Heading);
    });
    for (std::size_t i = 0; i < persons.VertexCount(); ++i) {
        const TPrismVertex& v = persons.Data()[i];
        vertices.push_back({{PersonGreen[0], PersonGreen[1], PersonGreen[2]},
                            {v.N[0], v.N[1], v.N[2]},
                            {v.P[0], v.P[1], v.P[2]}});
    }
}

void AppendQuadTriangles(std::vector<TDeckVertex>& vertices, const TQuad& quad) {
    for (const int corner : {0, 1, 2, 0, 2, 3}) {
        const float* p = quad.Vertex[corner];
        vertices.push_back({{quad.Color[0], quad.Color[1], quad.Color[2]},
                            {quad.Normal[0], quad.Normal[1], quad.Normal[2]},
                            {p[0], p[1], p[2]}});
    }
}

std::vector<TDeckVertex> FloorTriangles(const TLogFile& project) {
    std::vector<TDeckVertex> vertices;
    AppendPersons(vertices, project);
    if (!project.Decks.empty()) {
        for (const TQuad& quad : project.Decks[0].Quads) {
            AppendQuadTriangles(vertices, quad);
        }
    }
    return vertices;
}

// The deck renderer with its camera, projection and lights, drawing the floor's one buffer in
// place of the persons and the quads.
class TFloorRenderer : public TDeckRenderer {
public:
    explicit TFloorRenderer(TLogFile& project) : Triangles(FloorTriangles(project)) {}

    // With the context current.
    void DestroyBuffer() { Buffer.destroy(); }

protected:
    void DrawDeck() override {
        if (Triangles.empty()) {
            return;
        }
        if (!Buffer.isCreated()) {
            Upload();
        }
        Buffer.bind();
        TDeckGeometry::DrawBound(GL_TRIANGLES, static_cast<int>(Triangles.size()));
        Buffer.release();
    }

private:
    void Upload() {
        Buffer.setUsagePattern(QOpenGLBuffer::StaticDraw);
        Buffer.create();
        Buffer.bind();
        Buffer.allocate(Triangles.data(), static_cast<int>(Triangles.size() * sizeof(TDeckVertex)));
        Buffer.release();
    }

    std::vector<TDeckVertex> Triangles;
    QOpenGLBuffer Buffer{QOpenGLBuffer::VertexBuffer};
};

// The cell view drawing the floor, with no origin marker.
class TFloorView : public TDeckView {
public:
    explicit TFloorView(TLogFile& project) : TFloorView(project, new TFloorRenderer(project)) {}
    ~TFloorView() override {
        if (Context() != nullptr) {
            MakeCurrent();
            Floor->DestroyBuffer();
            DoneCurrent();
        }
    }
    TFloorView(const TFloorView&) = delete;
    TFloorView& operator=(const TFloorView&) = delete;

private:
    TFloorView(TLogFile& project, TFloorRenderer* floor)
        : TDeckView(nullptr, std::unique_ptr<TDeckRenderer>(floor)), Floor(floor) {
        ShowProject(project);
        ToggleOrigin();
        // The floor's one buffer holds the persons too, and is drawn at every frame.
        floor->HidePersons();
        floor->SetDeckKept(false);
    }

    TFloorRenderer* Floor; // owned by the view
};

bool ShownAt1280x800(TDeckView& view) {
    view.resize(1280, 800);
    view.show();
    return QTest::qWaitForWindowExposed(&view) && QTest::qWaitFor([&] { return view.HasFrame(); });
}

double SecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds that frames of two views of 1280 x 800 took in all, the views taking turns in every
// iteration so that both meet the same load of the machine; the first view's frames are the
// iteration times. None, after marking the benchmark skipped, when the views were never shown.
struct TTurns {
    double MeasuredSeconds = 0;
    double BaselineSeconds = 0;
};

std::optional<TTurns> FramesTakingTurns(benchmark::State& state, TDeckView& measured,
                                        TDeckView& baseline) {
    if (!ShownAt1280x800(measured) || !ShownAt1280x800(baseline)) {
        state.SkipWithError("the views were never shown");
        return std::nullopt;
    }
    // The first frames build what both keep on the graphics side.
    measured.DrawnFrame();
    baseline.DrawnFrame();
    TTurns turns;
    for (auto _ : state) {
        const double frame = SecondsOf([&] { benchmark::DoNotOptimize(measured.DrawnFrame()); });
        state.SetIterationTime(frame);
        turns.MeasuredSeconds += frame;
        turns.BaselineSeconds +=
            SecondsOf([&] { benchmark::DoNotOptimize(baseline.DrawnFrame()); });
    }
    return turns;
}

void FrameAgainstFloor(benchmark::State& state, const char* variable) {
    const std::string path = variable != nullptr ? BenchFile(state, variable) : std::string();
    TBenchProject loaded;
    TLogFile& project = loaded.Project;
    if (!path.empty()) {
        loaded.Load(path);
    }
    TDeckView view(nullptr);
    view.ShowProject(project);
    TFloorView floor(project);
    const auto turns = FramesTakingTurns(state, view, floor);
    if (!turns) {
        return;
    }
    const double floorSeconds = turns->BaselineSeconds;
    std::int64_t shown = 0;
    ForEachPersonOnDeckZero(project, [&shown](const TPersonData::TState&) { ++shown; });
    state.counters["quads"] = project.Decks.empty() ? 0 : project.Decks[0].QuadCount;
    state.counters["persons_shown"] = static_cast<double>(shown);
    state.counters["floor_ms"] =
        benchmark::Counter(floorSeconds * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["frame_per_floor"] =
        floorSeconds > 0 ? turns->MeasuredSeconds / floorSeconds : 0;
}

// An empty view: what reading the frame back alone costs.
void BM_FrameEmptyViewBaseline(benchmark::State& state) {
    FrameAgainstFloor(state, nullptr);
}
BENCHMARK(BM_FrameEmptyViewBaseline)->Unit(benchmark::kMillisecond)->UseManualTime();

// The ferry sample: 400 persons on a 150 x 40 deck.
void BM_FrameFerry(benchmark::State& state) {
    FrameAgainstFloor(state, "AMBLA_BENCH_FERRY");
}
BENCHMARK(BM_FrameFerry)->Unit(benchmark::kMillisecond)->UseManualTime();

// 10,000 persons on a 400 x 200 deck.
void BM_FrameTenThousandPersons(benchmark::State& state) {
    FrameAgainstFloor(state, "AMBLA_BENCH_FRAME_PERSONS");
}
BENCHMARK(BM_FrameTenThousandPersons)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// A 2000 x 2000 deck (over a million quads) with 10,000 persons.
void BM_FrameLargeDeck(benchmark::State& state) {
    FrameAgainstFloor(state, "AMBLA_BENCH_FRAME_DECK");
}
BENCHMARK(BM_FrameLargeDeck)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// 100,000 persons on a 1000 x 1000 deck.
void BM_FrameHundredThousandPersons(benchmark::State& state) {
    FrameAgainstFloor(state, "AMBLA_BENCH_FRAME_CROWD");
}
BENCHMARK(BM_FrameHundredThousandPersons)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

// The frame with the congestion map and its legend against the same frame without, views of one
// size taking turns: map_per_frame.
void MapAgainstPlainFrame(benchmark::State& state, const char* variable) {
    const std::string path = BenchFile(state, variable);
    if (path.empty()) {
        return;
    }
    TBenchProject loaded;
    TLogFile& project = loaded.Project;
    loaded.Load(path);
    const TEvacuationAnalysis analysis = AnalyseEvacuation(project);
    TDeckView plain(nullptr);
    plain.ShowProject(project);
    TDeckView mapped(nullptr);
    mapped.ShowProject(project);
    mapped.ShowCongestionMap(&analysis.Map);
    if (const auto turns = FramesTakingTurns(state, mapped, plain)) {
        state.counters["map_per_frame"] =
            turns->BaselineSeconds > 0 ? turns->MeasuredSeconds / turns->BaselineSeconds : 0;
    }
}

void BM_CongestionMapFerry(benchmark::State& state) {
    MapAgainstPlainFrame(state, "AMBLA_BENCH_FERRY");
}
BENCHMARK(BM_CongestionMapFerry)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_CongestionMapHundredThousandPersons(benchmark::State& state) {
    MapAgainstPlainFrame(state, "AMBLA_BENCH_FRAME_CROWD");
}
BENCHMARK(BM_CongestionMapHundredThousandPersons)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

} // namespace

// A frame with something drawn over the persons, measured at a step a third into the replay as
// every step measures it, against the same frame without, views of one size taking turns:
// `ratio` (measured / plain). The measuring of the step is timed on its own: measure_ms.
// measure(project, replay) returns how long measuring took; show(view) draws it over.
void OverlayAgainstPlainFrame(benchmark::State& state, const char* variable, const char* ratio,
                              const std::function<double(TLogFile&, const TReplay&)>& measure,
                              const std::function<void(TDeckView&)>& show) {
    const std::string path = BenchFile(state, variable);
    if (path.empty()) {
        return;
    }
    TBenchProject loaded;
    TLogFile& project = loaded.Project;
    loaded.Load(path);
    TReplay replay;
    replay.SetProject(&project);
    replay.SeekToStep(ReplayEndStep(project) / 3);
    const double measureSeconds = measure(project, replay);
    TDeckView plain(nullptr);
    plain.ShowProject(project);
    TDeckView overlaid(nullptr);
    overlaid.ShowProject(project);
    show(overlaid);
    if (const auto turns = FramesTakingTurns(state, overlaid, plain)) {
        state.counters[ratio] =
            turns->BaselineSeconds > 0 ? turns->MeasuredSeconds / turns->BaselineSeconds : 0;
        state.counters["measure_ms"] = measureSeconds * 1e3;
    }
}

// Persons coloured by waiting: waiting_per_frame.
void WaitingAgainstPlainFrame(benchmark::State& state, const char* variable) {
    std::vector<float> waiting;
    OverlayAgainstPlainFrame(
        state, variable, "waiting_per_frame",
        [&waiting](TLogFile& project, const TReplay& replay) {
            return SecondsOf([&] {
                MeasureWaiting(project.Persons, replay.TimeStep(), replay.StepsPerSecond(),
                               waiting);
            });
        },
        [&waiting](TDeckView& view) { view.ShadePersonsByWaiting(&waiting, 30.0f); });
}

void BM_ColourByWaitingFerry(benchmark::State& state) {
    WaitingAgainstPlainFrame(state, "AMBLA_BENCH_FERRY");
}
BENCHMARK(BM_ColourByWaitingFerry)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_ColourByWaitingHundredThousandPersons(benchmark::State& state) {
    WaitingAgainstPlainFrame(state, "AMBLA_BENCH_FRAME_CROWD");
}
BENCHMARK(BM_ColourByWaitingHundredThousandPersons)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

// The trails of the last ten seconds: trails_per_frame.
void TrailsAgainstPlainFrame(benchmark::State& state, const char* variable) {
    std::vector<std::vector<TTrailPoint>> trails;
    OverlayAgainstPlainFrame(
        state, variable, "trails_per_frame",
        [&trails](TLogFile& project, const TReplay& replay) {
            return SecondsOf([&] {
                MeasureTrails(project.Persons, replay.TimeStep(), replay.StepsPerSecond(), 10.0f,
                              project.ZMax, trails);
            });
        },
        [&trails](TDeckView& view) { view.ShowTrails(&trails, 10.0f); });
}

void BM_TrailsFerry(benchmark::State& state) {
    TrailsAgainstPlainFrame(state, "AMBLA_BENCH_FERRY");
}
BENCHMARK(BM_TrailsFerry)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_TrailsHundredThousandPersons(benchmark::State& state) {
    TrailsAgainstPlainFrame(state, "AMBLA_BENCH_FRAME_CROWD");
}
BENCHMARK(BM_TrailsHundredThousandPersons)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
