#pragma once
// A window with its own OpenGL context and an orbiting camera that the mouse drives. It draws
// nothing itself: the cell view draws the scene.
//
// The frames are drawn in a native window of their own inside the control, which the window
// system shows as it is: a widget drawn by OpenGL would be composed into the whole main window
// again with every frame, which on software OpenGL costs more than the frame itself. The native
// window hands its mouse and key events to the control, so the control behaves as one widget.

#include "CameraMath.h"
#include "JpegWriter.h"

#include <QImage>
#include <QString>
#include <QSurfaceFormat>
#include <QWidget>
#include <cstdint>
#include <utility>

class QOpenGLContext;
class QOpenGLWindow;
class QPaintDevice;

class TGLControl : public QWidget {
    Q_OBJECT

public:
    explicit TGLControl(QWidget* owner);
    ~TGLControl() override;

    // Double buffer, 24 colour bits, 32 depth bits (or the best the driver offers), and a
    // compatibility context for the fixed-function pipeline. Set as the default before any
    // window is made.
    static QSurfaceFormat PreferredFormat();

    double Distance() const { return Camera.Distance(); }
    void SetDistance(double value);
    bool IsControlEnabled() const { return Camera.FIsControlEnabled; }
    void SetIsControlEnabled(bool enabled) { Camera.FIsControlEnabled = enabled; }
    const TCamera& CameraState() const { return Camera; }

    // A synchronous redraw (where the window is shown), and a redraw when the event loop comes
    // to it.
    void Paint();
    void Invalidate() {
        if (RedrawsHeld > 0) {
            RedrawWanted = true;
        } else {
            RequestFrame();
        }
    }

    // While it lives, redraws asked for wait for the synchronous Paint that ends a replay step:
    // a redraw asked for and then painted synchronously would still be painted again when the
    // window system asks for the frame, a second frame of the same picture. A redraw still
    // wanted at its end is asked for then.
    class THeldRedraws {
    public:
        explicit THeldRedraws(TGLControl& control) : Control(control) { ++Control.RedrawsHeld; }
        ~THeldRedraws() {
            if (--Control.RedrawsHeld == 0 && std::exchange(Control.RedrawWanted, false)) {
                Control.RequestFrame();
            }
        }
        THeldRedraws(const THeldRedraws&) = delete;
        THeldRedraws& operator=(const THeldRedraws&) = delete;

    private:
        TGLControl& Control;
    };

    // Writes the frame as displayed, redrawn first so that it shows the current state, to a
    // baseline colour JPEG file of quality 90 or a PNG file, replacing a file of that name. A
    // width of 0 keeps
    // the control's own pixel size (the height is then ignored); otherwise the picture is
    // stretched to exactly width x height. Empty on success; otherwise why the file could not be
    // written.
    QString SaveCanvasToFile(const QString& fileName, std::int32_t width, std::int32_t height,
                             TPictureFormat format = TPictureFormat::Jpeg);

    // The frame last drawn, read back at the pixel size it was drawn at without drawing it
    // again; null before the first frame.
    QImage DisplayedFrame();
    // Whether a frame was drawn since the view was first shown.
    bool HasFrame() const;
    // A frame of the current state drawn now and read back, without showing it; null before the
    // context exists (the view's first showing).
    QImage DrawnFrame();

    // The context the frames are drawn in: null until the view was first shown. MakeCurrent also
    // binds the framebuffer the frames are drawn into.
    QOpenGLContext* Context() const;
    void MakeCurrent();
    void DoneCurrent();
    // The native window that shows the frames.
    QOpenGLWindow& Surface() const;

protected:
    // With the context current: the state a new context starts from, and one frame.
    virtual void InitializeScene() {}
    virtual void PaintScene() {}

    // Where a painter draws over the frame, while PaintScene runs.
    QPaintDevice* Canvas() const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Keys that reach the view are swallowed: the keyboard commands are the main window's.
    void keyPressEvent(QKeyEvent* event) override;

    TCamera Camera;

private:
    class TSurface;

    void RequestFrame();
    void ApplyCursor(TCursor cursor);

    TSurface* SurfaceWindow = nullptr;
    bool CursorOverridden = false;
    int RedrawsHeld = 0;
    bool RedrawWanted = false;
};
