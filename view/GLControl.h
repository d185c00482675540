#pragma once
// A window with its own OpenGL context and an orbiting camera that the mouse drives. It draws
// nothing itself: the cell view draws the scene.

#include "CameraMath.h"
#include "JpegWriter.h"

#include <QImage>
#include <QOpenGLWidget>
#include <QString>
#include <cstdint>
#include <utility>

class TGLControl : public QOpenGLWidget {
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

    // A synchronous redraw, and a redraw when the event loop comes to it.
    void Paint() {
        RedrawWanted = false;
        repaint();
    }
    void Invalidate() {
        if (RedrawsHeld > 0) {
            RedrawWanted = true;
        } else {
            update();
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
                Control.update();
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

    // The frame last drawn, read back at the control's pixel size without drawing it again;
    // null before the first frame.
    QImage DisplayedFrame();

protected:
    // With the context current: the state a new context starts from, and one frame.
    virtual void InitializeScene() {}
    virtual void PaintScene() {}

    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Keys that reach the view are swallowed: the keyboard commands are the main window's.
    void keyPressEvent(QKeyEvent* event) override;

    TCamera Camera;

private:
    void ApplyCursor(TCursor cursor);

    bool CursorOverridden = false;
    int RedrawsHeld = 0;
    bool RedrawWanted = false;
};
