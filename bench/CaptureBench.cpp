// What a screen shot of a 1920 x 1080 view costs beyond drawing the frame (reading it back,
// converting, encoding, writing the file) against libjpeg encoding the same pixels on its own.
// Needs a display (scripts/bench provides Xvfb).

#include "BenchFiles.h"
#include "DeckView.h"
#include "GuiBenchMain.h"
#include "JpegWriter.h"

#include <QApplication>
#include <QFileInfo>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <functional>
#include <memory>

#include <jpeglib.h>

namespace {

// The ferry's first deck in a 1920 x 1080 view, drawn once.
struct TShotView {
    explicit TShotView(const std::string& path) {
        Project.Load(path, Progress);
        View.resize(1920, 1080);
        View.ShowProject(Project);
        View.show();
        Shown =
            QTest::qWaitForWindowExposed(&View) && QTest::qWaitFor([&] { return View.HasFrame(); });
        View.Paint();
    }
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TNoProgressWindow Progress;
    TLogFile Project{"Level"};
    TDeckView View{nullptr};
    bool Shown = false;
};

// The plainest use of libjpeg: the same settings, the pixels as they come, into memory.
std::size_t BareEncode(const QImage& rgbx) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_CreateCompress(&info, JPEG_LIB_VERSION, sizeof(info));
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgbx.width());
    info.image_height = static_cast<JDIMENSION>(rgbx.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, JpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgbx.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return size;
}

// The view of the ferry sample, or nothing after marking the benchmark skipped.
std::unique_ptr<TShotView> ShownView(benchmark::State& state) {
    const std::string path = BenchFile(state, "AMBLA_BENCH_FERRY");
    if (path.empty()) {
        return nullptr;
    }
    auto shot = std::make_unique<TShotView>(path);
    if (!shot->Shown) {
        state.SkipWithError("the view was never shown");
        return nullptr;
    }
    return shot;
}

// Writes a shot into a temporary folder each iteration; the file's size goes to the counters.
void ShotIterations(benchmark::State& state, const std::function<QString(const QString&)>& save) {
    QTemporaryDir dir;
    const QString file = dir.filePath("shot.jpg");
    for (auto _ : state) {
        const QString error = save(file);
        if (!error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
    state.counters["kB"] = double(QFileInfo(file).size()) / 1000.0;
}

void BM_ShotWithoutDrawing1920x1080(benchmark::State& state) {
    if (const auto shot = ShownView(state)) {
        ShotIterations(state, [&](const QString& file) {
            return SaveJpeg(shot->View.DisplayedFrame(), file, JpegQuality);
        });
    }
}
BENCHMARK(BM_ShotWithoutDrawing1920x1080)->Unit(benchmark::kMillisecond);

void BM_BareLibjpegEncode1920x1080(benchmark::State& state) {
    const auto shot = ShownView(state);
    if (!shot) {
        return;
    }
    const QImage frame = shot->View.DisplayedFrame();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = BareEncode(frame);
    }
    state.counters["kB"] = double(bytes) / 1000.0;
}
BENCHMARK(BM_BareLibjpegEncode1920x1080)->Unit(benchmark::kMillisecond);

// The whole call the main window makes, the frame drawn anew included.
void BM_SaveCanvasToFile1920x1080(benchmark::State& state) {
    if (const auto shot = ShownView(state)) {
        ShotIterations(
            state, [&](const QString& file) { return shot->View.SaveCanvasToFile(file, 0, 0); });
    }
}
BENCHMARK(BM_SaveCanvasToFile1920x1080)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
