// --render of a replay at 1280 x 720 without any display, in frames a second, against its floor
// in the same run: the same frames drawn by the same renderer, read back and JPEG-encoded in
// memory, with nothing written. The floor and the program take turns in every iteration, so
// that both meet the same load of the machine; render_per_floor tells what the program adds
// (files, folder, progress line, its own set-up and load) to the least a frame costs.

#include "BenchFiles.h"
#include "DeckRenderer.h"
#include "JpegWriter.h"
#include "OffscreenCanvas.h"
#include "RenderMode.h"
#include "Replay.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

constexpr std::int32_t Width = 1280;
constexpr std::int32_t Height = 720;

struct TFloor {
    double Seconds = 0;
    std::int64_t Frames = 0;
    std::int64_t JpegBytes = 0;
};

// Every frame of the replay, steps 0 to the step at which everybody has left.
TFloor MeasureFloor(TLogFile& project) {
    TOffscreenCanvas canvas;
    if (!canvas.Open(Width, Height).empty()) {
        return {};
    }
    TDeckRenderer renderer;
    renderer.ShowProject(project);
    TCamera camera;
    renderer.FitCamera(camera);
    renderer.InitializeContext();
    TReplay replay;
    replay.SetProject(&project);
    replay.Reset();
    QImage frame;
    TFloor floor;
    const std::int32_t last = ReplayEndStep(project); // where --render ends by default
    const auto start = std::chrono::steady_clock::now();
    for (std::int32_t step = 0; step <= last; ++step) {
        while (replay.TimeStep() < step) {
            replay.StepForward();
        }
        renderer.DrawFrame(camera, Width, Height);
        canvas.ReadFrame(frame);
        floor.JpegBytes += EncodeJpeg(frame, 90, TRowOrder::BottomFirst).Bytes.size();
        ++floor.Frames;
    }
    floor.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    renderer.ReleaseGraphics();
    replay.Reset();
    return floor;
}

void BM_RenderAgainstFloor(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_FERRY");
    if (path.empty()) {
        return;
    }
    TBenchProject loaded;
    TLogFile& project = loaded.Project;
    if (!loaded.Load(path)) {
        state.SkipWithError("the ferry did not load");
        return;
    }
    double floorSeconds = 0;
    double renderSeconds = 0;
    std::int64_t frames = 0;
    for (auto _ : state) {
        const TFloor floor = MeasureFloor(project);
        if (floor.Frames == 0) {
            state.SkipWithError("no OpenGL without a display");
            return;
        }
        QTemporaryDir out;
        TRenderRequest request;
        request.OutDir = out.path().toStdString();
        request.Width = Width;
        request.Height = Height;
        const auto start = std::chrono::steady_clock::now();
        if (RunRenderMode(path, request) != 0) {
            state.SkipWithError("--render failed");
            return;
        }
        renderSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        floorSeconds += floor.Seconds;
        frames += floor.Frames;
        benchmark::DoNotOptimize(floor.JpegBytes);
    }
    state.counters["frames"] = double(frames) / double(state.iterations());
    state.counters["render_fps"] = double(frames) / renderSeconds;
    state.counters["floor_fps"] = double(frames) / floorSeconds;
    state.counters["render_per_floor"] = renderSeconds / floorSeconds;
}
BENCHMARK(BM_RenderAgainstFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

// The ferry's replay as a video against the same frames as JPEG files, in the same run, at the
// frame size above: a video frame a step (four frames a second of one second of replay each).
void BM_VideoAgainstJpegFrames(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_FERRY");
    if (path.empty()) {
        return;
    }
    double jpegWall = 0, jpegCpu = 0, videoWall = 0, videoCpu = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        TRenderRequest request;
        request.OutDir = out.path().toStdString();
        request.Width = Width;
        request.Height = Height;
        const TStopwatch jpeg;
        if (RunRenderMode(path, request) != 0) {
            state.SkipWithError("--render failed");
            return;
        }
        jpegWall += jpeg.WallSeconds();
        jpegCpu += jpeg.CpuSeconds();
        request.OutDir.clear();
        request.VideoFile = out.filePath(QStringLiteral("ferry.mp4")).toStdString();
        request.FramesPerSecond = 4; // the ferry's steps a second: a frame a step
        const TStopwatch video;
        if (RunRenderMode(path, request) != 0) {
            state.SkipWithError("--render --video failed");
            return;
        }
        videoWall += video.WallSeconds();
        videoCpu += video.CpuSeconds();
    }
    state.counters["video_per_jpeg"] = videoWall / jpegWall;
    state.counters["video_cpu_per_jpeg_cpu"] = videoCpu / jpegCpu;
}
BENCHMARK(BM_VideoAgainstJpegFrames)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
