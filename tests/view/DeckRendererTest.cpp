// The deck renderer drawing without any window (EGL, Mesa): no display needed.

#include "DeckRenderer.h"
#include "EvacuationAnalysis.h"
#include "LogFile.h"
#include "OffscreenCanvas.h"
#include "RecordingUiServices.h"
#include "Replay.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::int32_t FrameWidth = 480;
constexpr std::int32_t FrameHeight = 360;
constexpr int StepShown = 12;

// The ferry sample replayed up to a step, and its congestion map.
struct TFerry {
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TNoProgressWindow Progress;
    TLogFile Project{"Level"};
    TReplay Replay;
    TCongestionMap Map;

    TFerry() {
        EXPECT_TRUE(Project.Load(AMBLA_SAMPLES_DIR "/ferry.3dl", Progress));
        EXPECT_GE(Project.ZMax, 2);
        Map = AnalyseEvacuation(Project).Map;
        Replay.SetProject(&Project);
    }
};

// A renderer in a context of its own, made for the test and let go after it.
class TCanvasRenderer {
public:
    explicit TCanvasRenderer(TFerry& ferry) : Ferry(ferry) {
        const std::string error = Canvas.Open(FrameWidth, FrameHeight);
        EXPECT_EQ(error, "");
        Opened = error.empty();
        Renderer.ShowProject(ferry.Project);
        Renderer.InitializeContext();
    }
    ~TCanvasRenderer() {
        if (Opened) {
            Renderer.ReleaseGraphics();
        }
    }
    TCanvasRenderer(const TCanvasRenderer&) = delete;
    TCanvasRenderer& operator=(const TCanvasRenderer&) = delete;

    // The options of the view from this frame on: the origin marker, the congestion map with a
    // picture in the corner, the deck, the persons in one batch or a list call each.
    void Show(bool origin, bool congestion, std::int32_t deck = 0, bool batched = true) {
        if (Renderer.ShowOrigin() != origin) {
            Renderer.ToggleOrigin();
        }
        Renderer.ShowCongestionMap(congestion ? &Ferry.Map : nullptr);
        Renderer.SetCornerPicture(congestion ? CornerPicture() : QImage());
        EXPECT_TRUE(Renderer.SelectDeck(deck));
        Renderer.SetPersonsBatched(batched);
    }

    QImage Draw(const TCamera& camera) {
        QImage frame;
        if (Opened) {
            Renderer.DrawFrame(camera, FrameWidth, FrameHeight);
            Canvas.ReadFrame(frame);
        }
        return frame;
    }

    // Fitted to the decks, straight from above, and panned.
    TCamera PannedCamera() const { return DraggedCamera(TMouseButton::Right, 100, 50); }

    // Tilted, turned and close to the origin marker, so that its shading fills many pixels.
    TCamera CloseCamera() const {
        TCamera camera = DraggedCamera(TMouseButton::Left, 60, 90);
        camera.SetDistance(12);
        return camera;
    }

private:
    // The camera after a load, then dragged with a mouse button.
    TCamera DraggedCamera(TMouseButton button, int dx, int dy) const {
        TCamera camera;
        Renderer.FitCamera(camera);
        camera.FIsControlEnabled = true;
        camera.MouseDown(button, 0, 0);
        camera.MouseMove(dx, dy);
        camera.MouseUp();
        return camera;
    }

    // Half transparent, so that it is blended over the deck.
    static QImage CornerPicture() {
        QImage picture(40, 30, QImage::Format_RGBA8888);
        picture.fill(QColor(255, 200, 0, 128));
        return picture;
    }

    TFerry& Ferry;
    TOffscreenCanvas Canvas;
    TDeckRenderer Renderer;
    bool Opened = false;
};

std::int64_t DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return std::int64_t{a.width()} * a.height() + 1;
    }
    std::int64_t differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y);
        }
    }
    return differing;
}

// A step drawn as the first frame of a context, and drawn again after frames of the steps before
// it seen from elsewhere, of the other deck, without the marker, with and without the map and with
// the persons drawn the other way, must be the same picture to the pixel.
TEST(DeckRenderer, AFrameDoesNotDependOnTheFramesDrawnBefore) {
    for (const bool congestion : {false, true}) {
        SCOPED_TRACE(congestion ? "with the congestion map" : "without the congestion map");
        QImage fresh;
        {
            TFerry ferry;
            for (int step = 0; step < StepShown; ++step) {
                ferry.Replay.StepForward();
            }
            TCanvasRenderer view(ferry);
            view.Show(true, congestion);
            fresh = view.Draw(view.CloseCamera());
        }
        TFerry ferry;
        TCanvasRenderer view(ferry);
        const TCamera elsewhere = view.PannedCamera();
        for (int step = 0; step < StepShown; ++step) {
            view.Show(step % 3 != 0, step % 2 == 0, step % 4 == 1 ? 1 : 0, step % 5 != 2);
            view.Draw(step % 2 == 0 ? elsewhere : view.CloseCamera());
            ferry.Replay.StepForward();
        }
        view.Show(true, congestion);
        const QImage again = view.Draw(view.CloseCamera());
        ASSERT_FALSE(fresh.isNull());
        EXPECT_EQ(DifferingPixels(fresh, again), 0);
    }
}

} // namespace
