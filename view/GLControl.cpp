#include "GLControl.h"
#include "JpegWriter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLWindow>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <GL/gl.h>

namespace {

TMouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return TMouseButton::Left;
    case Qt::RightButton:
        return TMouseButton::Right;
    default:
        return TMouseButton::Other;
    }
}

std::int32_t PixelX(const QMouseEvent* event) {
    return static_cast<std::int32_t>(event->position().x());
}

std::int32_t PixelY(const QMouseEvent* event) {
    return static_cast<std::int32_t>(event->position().y());
}

// Larger pictures are refused rather than allocated: at most 16384 pixels a side and 2^26 pixels
// in all (256 MB at four bytes a pixel).
constexpr std::int32_t MaxShotSide = 16384;
constexpr std::int64_t MaxShotPixels = std::int64_t{1} << 26;

// Why a picture of width x height cannot be made, or empty. A width of 0 means the control's own
// size, which the screen already limits.
QString RefusedShotSize(std::int32_t width, std::int32_t height) {
    if (width == 0) {
        return {};
    }
    const QString size = QStringLiteral("%1 x %2 pixels").arg(width).arg(height);
    if (width < 0 || height <= 0) {
        return QStringLiteral("A picture of %1 cannot be made.").arg(size);
    }
    if (width > MaxShotSide || height > MaxShotSide ||
        std::int64_t{width} * height > MaxShotPixels) {
        return QStringLiteral("A picture of %1 is too large: at most %2 pixels a side and %3 "
                              "million pixels in all.")
            .arg(size)
            .arg(MaxShotSide)
            .arg(MaxShotPixels / 1000000);
    }
    return {};
}

} // namespace

// Draws through an extra framebuffer object that is copied to the window: the frame stays there
// after it was shown, to be read back, and the deck can be kept beside it (see TDeckBackdrop).
class TGLControl::TSurface : public QOpenGLWindow {
public:
    // The keyboard focus stays with the widgets: a focused native window would take the keys
    // from the main window's widgets, and the control could no longer hold the focus itself.
    explicit TSurface(TGLControl& control)
        : QOpenGLWindow(QOpenGLWindow::PartialUpdateBlit), Control(control) {
        setFlag(Qt::WindowDoesNotAcceptFocus);
    }

    // The pixel size of the framebuffer the last frame was drawn into; empty before the first.
    QSize DrawnSize() const { return Drawn; }

protected:
    void initializeGL() override { Control.InitializeScene(); }
    // A window made smaller shows nothing new, so the window system asks for no frame.
    void resizeEvent(QResizeEvent* event) override {
        QOpenGLWindow::resizeEvent(event);
        update();
    }
    void paintGL() override {
        Drawn = size() * devicePixelRatio();
        Control.PaintScene();
    }

    // The input goes to the control, which then behaves as the widget under the mouse. A click
    // makes the main window the active one and gives the control the keyboard focus, as a click
    // on a widget does (also where no window manager gives the focus on a click).
    bool event(QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!Control.isActiveWindow()) {
                Control.activateWindow();
            }
            if ((Control.focusPolicy() & Qt::ClickFocus) != 0) {
                Control.setFocus(Qt::MouseFocusReason);
            }
            return QCoreApplication::sendEvent(&Control, event);
        case QEvent::Wheel:
            return SendWheelUp(*static_cast<QWheelEvent*>(event));
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return QCoreApplication::sendEvent(&Control, event);
        default:
            return QOpenGLWindow::event(event);
        }
    }

private:
    // To the control and on to the widgets around it until one takes it, as the window system's
    // wheel turns go: a wheel event sent by the program would stop at the control.
    bool SendWheelUp(const QWheelEvent& wheel) {
        for (QWidget* widget = &Control; widget != nullptr; widget = widget->parentWidget()) {
            const QPointF at = widget->mapFromGlobal(wheel.globalPosition());
            QWheelEvent sent(at, wheel.globalPosition(), wheel.pixelDelta(), wheel.angleDelta(),
                             wheel.buttons(), wheel.modifiers(), wheel.phase(), wheel.inverted(),
                             wheel.source());
            QCoreApplication::sendEvent(widget, &sent);
            if (sent.isAccepted() || widget->isWindow()) {
                return sent.isAccepted();
            }
        }
        return false;
    }

    TGLControl& Control;
    QSize Drawn;
};

TGLControl::TGLControl(QWidget* owner) : QWidget(owner), SurfaceWindow(new TSurface(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The container owns the window from here on.
    QWidget* container = QWidget::createWindowContainer(SurfaceWindow, this);
    container->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(container);
}

TGLControl::~TGLControl() {
    if (CursorOverridden) {
        QGuiApplication::restoreOverrideCursor();
    }
}

QSurfaceFormat TGLControl::PreferredFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(32);
    return format;
}

// The projection is set at the start of every frame, where the context is current, so a change
// of distance or pan only asks for a frame.
void TGLControl::SetDistance(double value) {
    Camera.SetDistance(value);
    Invalidate();
}

void TGLControl::Paint() {
    RedrawWanted = false;
    if (!SurfaceWindow->isExposed()) {
        return; // drawn when it shows
    }
    QPaintEvent paint(QRect(QPoint(0, 0), SurfaceWindow->size()));
    QCoreApplication::sendEvent(SurfaceWindow, &paint);
}

void TGLControl::RequestFrame() {
    SurfaceWindow->update();
}

QOpenGLContext* TGLControl::Context() const {
    return SurfaceWindow->context();
}

void TGLControl::MakeCurrent() {
    SurfaceWindow->makeCurrent();
}

void TGLControl::DoneCurrent() {
    SurfaceWindow->doneCurrent();
}

QOpenGLWindow& TGLControl::Surface() const {
    return *SurfaceWindow;
}

QPaintDevice* TGLControl::Canvas() const {
    return SurfaceWindow;
}

bool TGLControl::HasFrame() const {
    return SurfaceWindow->isValid() && !SurfaceWindow->DrawnSize().isEmpty();
}

QImage TGLControl::DrawnFrame() {
    if (!SurfaceWindow->isValid()) {
        return {};
    }
    const QSize pixels = size() * devicePixelRatio();
    if (SurfaceWindow->DrawnSize() == pixels) {
        // The window's framebuffer has the right size: drawn there without showing the frame.
        MakeCurrent();
        glViewport(0, 0, pixels.width(), pixels.height());
        PaintScene();
        DoneCurrent();
    } else {
        Paint(); // which makes the framebuffer anew at the window's size
        if (SurfaceWindow->DrawnSize() != pixels) {
            return {};
        }
    }
    return DisplayedFrame();
}

QString TGLControl::SaveCanvasToFile(const QString& fileName, std::int32_t width,
                                     std::int32_t height, TPictureFormat format) {
    const QString refused = RefusedShotSize(width, height);
    if (!refused.isEmpty()) {
        return refused;
    }
    QImage picture = DrawnFrame();
    RequestFrame(); // the screen shows the same state next
    if (picture.isNull()) {
        return QStringLiteral("The view has not been drawn yet.");
    }
    if (width != 0) {
        picture = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return SavePicture(picture, fileName, format);
}

// The frame stays in the control's framebuffer after it was shown; reading it there spares
// drawing it a second time. The frame is opaque: cleared with alpha 1 and drawn without blending.
QImage TGLControl::DisplayedFrame() {
    if (!HasFrame()) {
        return {};
    }
    const QSize pixels = SurfaceWindow->DrawnSize();
    QImage frame(pixels, QImage::Format_RGBX8888);
    if (frame.isNull()) {
        return {};
    }
    MakeCurrent();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, pixels.width(), pixels.height(), GL_RGBA, GL_UNSIGNED_BYTE, frame.bits());
    DoneCurrent();
    return std::move(frame).mirrored(); // OpenGL counts rows from the bottom
}

void TGLControl::mousePressEvent(QMouseEvent* event) {
    ApplyCursor(Camera.MouseDown(ButtonOf(event->button()), PixelX(event), PixelY(event)).Cursor);
}

void TGLControl::mouseMoveEvent(QMouseEvent* event) {
    if (Camera.MouseMove(PixelX(event), PixelY(event)).SetOrthoAndInvalidate) {
        Invalidate();
    }
}

void TGLControl::mouseReleaseEvent(QMouseEvent*) {
    ApplyCursor(Camera.MouseUp().Cursor);
}

void TGLControl::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

// The application-wide cursor shows the drag; it is kept balanced so that it always returns.
void TGLControl::ApplyCursor(TCursor cursor) {
    if (cursor == TCursor::Unchanged) {
        return;
    }
    if (cursor == TCursor::Arrow) {
        if (CursorOverridden) {
            QGuiApplication::restoreOverrideCursor();
            CursorOverridden = false;
        }
        return;
    }
    const QCursor shape(cursor == TCursor::Cross ? Qt::CrossCursor : Qt::PointingHandCursor);
    if (CursorOverridden) {
        QGuiApplication::changeOverrideCursor(shape);
    } else {
        QGuiApplication::setOverrideCursor(shape);
        CursorOverridden = true;
    }
}
