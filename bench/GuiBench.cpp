// The window program's costs: loading through the main window with its progress window against
// the bare reader, replay steps, and what an idle window costs (the frames are in FrameBench.cpp).

#include "BenchFiles.h"
#include "DeckView.h"
#include "GuiBenchMain.h"
#include "MainWindowProbe.h"
#include "ProgressDialog.h"
#include "QtUiServices.h"
#include "RecordingUiServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalBlocker>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_LoadHeadless(benchmark::State& state) {
    LoadHeadlessIterations(state, BenchFile(state, "AMBLA_BENCH_LOG"));
}
BENCHMARK(BM_LoadHeadless)->Unit(benchmark::kMillisecond)->Iterations(3);

// The main window at 1280 x 800 as the program shows it, its startup window already past.
struct TBenchWindow {
    TBenchWindow() {
        Main.SetWindows({&Progress});
        Main.FirstActivation = false;
        Main.resize(1280, 800);
        Main.show();
    }
    TMainWindowProbe Main;
    TProgressDialog Progress{&Main};
};

// The window with a file loaded, message boxes kept in a list.
struct TLoadedBenchWindow {
    explicit TLoadedBenchWindow(const std::string& path) {
        Main.Projects->LoadLogFile(QString::fromStdString(path));
    }
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TBenchWindow Bench;
    TMainWindowProbe& Main = Bench.Main;
};

// The longest time between two passes of the event loop while the window loads: what the user
// waits for a repaint. A timer of interval 0 fires at every pass. The last pass of a load draws
// the first frame of the loaded deck, which takes as long as a frame of that deck takes; the
// gaps before it are the reading.
class TEventLoopGapProbe {
public:
    TEventLoopGapProbe() {
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            LongestReading = std::max(LongestReading, LastGap);
            LastGap = Since.restart();
        });
    }
    void Start() {
        Since.start();
        LastGap = 0;
        Timer.start(0);
    }
    void Stop() {
        Timer.stop();
        LongestFirstFrame = std::max(LongestFirstFrame, LastGap);
    }
    void Report(benchmark::State& state) const {
        state.counters["longest_gap_reading_ms"] = static_cast<double>(LongestReading);
        state.counters["longest_gap_first_frame_ms"] = static_cast<double>(LongestFirstFrame);
    }

private:
    QTimer Timer;
    QElapsedTimer Since;
    qint64 LastGap = 0;
    qint64 LongestReading = 0;
    qint64 LongestFirstFrame = 0;
};

// Until the caption names the file, as the user sees a load end, and until the load returns
// with the first frame of the deck drawn.
void LoadInMainWindow(benchmark::State& state, const char* variable) {
    const std::string path = BenchFile(state, variable);
    TQtUiServices ui;
    TScopedUiServices installed(ui);
    TBenchWindow window;
    TMainWindowProbe& mainWindow = window.Main;
    TWcComparison toFirstFrame(path);
    TWcComparison toCaption(path);
    QObject::connect(&mainWindow, &QWidget::windowTitleChanged, [&toCaption] { toCaption.Stop(); });
    TEventLoopGapProbe gaps;
    for (auto _ : state) {
        gaps.Start();
        toFirstFrame.Start();
        toCaption.Start();
        mainWindow.setWindowTitle(QString());
        mainWindow.Projects->LoadLogFile(QString::fromStdString(path));
        toFirstFrame.Stop();
        gaps.Stop();
    }
    toFirstFrame.Report(state);
    toCaption.Report(state, "caption_per_wc_w");
    gaps.Report(state);
}

void BM_LoadLogFileInMainWindow(benchmark::State& state) {
    LoadInMainWindow(state, "AMBLA_BENCH_LOG");
}
BENCHMARK(BM_LoadLogFileInMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadLogFile1GBInMainWindow(benchmark::State& state) {
    LoadInMainWindow(state, "AMBLA_BENCH_LOG_1GB");
}
BENCHMARK(BM_LoadLogFile1GBInMainWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

// One replay step of the main window: every person moves, the status shows it, the view redraws.
// Persons as a display list each, and hidden, show what the batch saves and what drawing them
// costs.
enum class TPersons { Batched, DisplayLists, Hidden };

void PlaybackStep(benchmark::State& state, TPersons persons) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_PLAYBACK");
    TLoadedBenchWindow loaded(path);
    TMainWindowProbe& mainWindow = loaded.Main;
    if (persons == TPersons::Hidden) {
        mainWindow.View->HidePersons();
    }
    mainWindow.View->SetPersonsBatched(persons != TPersons::DisplayLists);
    for (auto _ : state) {
        mainWindow.Projects->Replay.Tick();
    }
    state.counters["persons"] = mainWindow.Projects->LogFile->PMax;
}

void BM_PlaybackStepWithRedraw(benchmark::State& state) {
    PlaybackStep(state, TPersons::Batched);
}
BENCHMARK(BM_PlaybackStepWithRedraw)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_PlaybackStepPersonsAsDisplayLists(benchmark::State& state) {
    PlaybackStep(state, TPersons::DisplayLists);
}
BENCHMARK(BM_PlaybackStepPersonsAsDisplayLists)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_PlaybackStepPersonsHidden(benchmark::State& state) {
    PlaybackStep(state, TPersons::Hidden);
}
BENCHMARK(BM_PlaybackStepPersonsHidden)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Playing in the window against `--render` of the same steps at the same size, a frame a step:
// the view at 1600 x 1000 plays a number of steps from the start, and the program without a
// display draws and encodes the frames of the same steps, timed as a whole. frames_per_s of both
// and window_per_render, their ratio (the window's share of what the renderer reaches).
constexpr QSize PlayedViewSize(1600, 1000);
constexpr std::int32_t PlayedSteps = 200;

// Seconds `ambla-viewer --render` takes for the first steps of a file, and the frames it wrote.
std::pair<double, std::int32_t> RenderSeconds(const std::string& path) {
    QTemporaryDir frames;
    const QString viewer = QCoreApplication::applicationDirPath() + "/../app/ambla-viewer";
    const QString size =
        QStringLiteral("%1x%2").arg(PlayedViewSize.width()).arg(PlayedViewSize.height());
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" + viewer.toStdString() +
                                "' --render '" + path + "' --out '" + frames.path().toStdString() +
                                "' --size " + size.toStdString() + " --to " +
                                std::to_string(PlayedSteps - 1) + " >/dev/null 2>&1";
    QElapsedTimer took;
    took.start();
    if (std::system(command.c_str()) != 0) {
        return {0.0, 0};
    }
    const double wall = static_cast<double>(took.nsecsElapsed()) * 1e-9;
    const auto written = QDir(frames.path()).entryList({"*.jpg"}, QDir::Files).size();
    return {wall, static_cast<std::int32_t>(written)};
}

void PlayingAgainstRender(benchmark::State& state, const char* variable) {
    const std::string path = BenchFile(state, variable);
    if (path.empty()) {
        return;
    }
    TLoadedBenchWindow loaded(path);
    TMainWindowProbe& mainWindow = loaded.Main;
    mainWindow.resize(mainWindow.size() + PlayedViewSize - mainWindow.View->size());
    QTest::qWait(200);
    if (mainWindow.View->size() != PlayedViewSize) {
        state.SkipWithError("the screen is too small for a view of 1600 x 1000");
        return;
    }
    TReplay& replay = mainWindow.Projects->Replay;
    double windowWall = 0, windowCpu = 0, renderWall = 0;
    std::int32_t renderFrames = 0;
    for (auto _ : state) {
        replay.SeekToStep(0);
        QCoreApplication::processEvents();
        QElapsedTimer took;
        const double cpuBefore = CpuSeconds();
        // Playing, its timer's own ticks held back: a tick at every step as fast as the window
        // takes them, and what the event loop does between two steps counts.
        mainWindow.Playback->StartAnimation();
        const QSignalBlocker noTimerTicks(mainWindow.Playback->AnimationTimer);
        took.start();
        for (std::int32_t step = 0; step < PlayedSteps; ++step) {
            mainWindow.Playback->PlaybackTimerFired();
            QCoreApplication::processEvents();
        }
        windowWall += static_cast<double>(took.nsecsElapsed()) * 1e-9;
        mainWindow.Playback->AnimationTimer->stop();
        windowCpu += CpuSeconds() - cpuBefore;
        const auto [wall, frames] = RenderSeconds(path);
        renderWall += wall;
        renderFrames += frames;
    }
    const auto rounds = double(state.iterations());
    const double windowRate = PlayedSteps * rounds / windowWall;
    const double renderRate = renderWall > 0 ? renderFrames / renderWall : 0;
    state.counters["window_frames_per_s"] = windowRate;
    state.counters["window_cpu_per_frame_ms"] = windowCpu * 1000.0 / (PlayedSteps * rounds);
    state.counters["render_frames_per_s"] = renderRate;
    state.counters["window_per_render"] = renderRate > 0 ? windowRate / renderRate : 0;
    state.counters["persons"] = mainWindow.Projects->LogFile->PMax;
}

// 10,000 persons on a deck of 1000 x 2000 cells.
void BM_PlayingAgainstRenderTenThousand(benchmark::State& state) {
    PlayingAgainstRender(state, "AMBLA_BENCH_PLAY_10K");
}
BENCHMARK(BM_PlayingAgainstRenderTenThousand)->Unit(benchmark::kMillisecond)->Iterations(3);

// 100,000 persons on a deck of 1000 x 1000 cells.
void BM_PlayingAgainstRenderHundredThousand(benchmark::State& state) {
    PlayingAgainstRender(state, "AMBLA_BENCH_FRAME_CROWD");
}
BENCHMARK(BM_PlayingAgainstRenderHundredThousand)->Unit(benchmark::kMillisecond)->Iterations(1);

// Playing the ferry sample, and playing it with a screen-shot series of the whole view into a
// temporary folder: what the series costs a step (frames per second in items_per_second).
void FerryPlay(benchmark::State& state, bool series) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_FERRY");
    TLoadedBenchWindow loaded(path);
    TMainWindowProbe& mainWindow = loaded.Main;
    QTemporaryDir shots;
    mainWindow.Shots->Options.ShotPlace = TShotPlace::FixedFolder;
    mainWindow.Shots->Options.ScreenShotSaveDirectory = shots.path();
    if (series) {
        mainWindow.Tools->SeriesButton->click();
    }
    for (auto _ : state) {
        mainWindow.Projects->Replay.Tick();
    }
    state.SetItemsProcessed(state.iterations());
    if (!loaded.Ui.Messages.empty()) {
        state.SkipWithError(loaded.Ui.Messages.front().Text.c_str());
    }
}

void BM_FerryPlay(benchmark::State& state) {
    FerryPlay(state, false);
}
BENCHMARK(BM_FerryPlay)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_FerryPlayWithSeries(benchmark::State& state) {
    FerryPlay(state, true);
}
BENCHMARK(BM_FerryPlayWithSeries)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// CPU time the window takes while it shows a project and nobody touches it.
void BM_IdleWindowCpu(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_FERRY");
    const TLoadedBenchWindow loaded(path);
    QTest::qWait(500);
    double cpu = 0;
    for (auto _ : state) {
        const double before = CpuSeconds();
        QTest::qWait(2000);
        cpu = CpuSeconds() - before;
    }
    state.counters["cpu_ms_per_s"] = cpu * 1000.0 / 2.0;
}
BENCHMARK(BM_IdleWindowCpu)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
