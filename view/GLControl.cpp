#include "GLControl.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>

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

} // namespace

TGLControl::TGLControl(QWidget* owner) : QOpenGLWidget(owner) {
    setFocusPolicy(Qt::StrongFocus);
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

void TGLControl::initializeGL() {
    glFrontFace(GL_CCW);
    SetupRC();
    IniGL();
}

void TGLControl::SetupRC() {
    SetupRCPending = false;
    glClearColor(0.0f, 0.0f, 0.2f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    if (FLights != nullptr) {
        for (std::size_t i = 0; i < FLights->size(); ++i) {
            const TLight& light = (*FLights)[i];
            const GLenum id = GL_LIGHT0 + static_cast<GLenum>(i);
            if (light.SwitchedOn) {
                glLightfv(id, GL_AMBIENT, light.Ambient);
                glLightfv(id, GL_DIFFUSE, light.Diffuse);
                glLightfv(id, GL_SPECULAR, light.Specular);
                glEnable(id);
            } else {
                glDisable(id);
            }
        }
    }
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat specular[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMateriali(GL_FRONT, GL_SHININESS, 128);
}

void TGLControl::ShutDownLights() {
    for (GLenum i = 0; i < DeckLightSlots; ++i) {
        glDisable(GL_LIGHT0 + i);
    }
}

void TGLControl::paintGL() {
    if (SetupRCPending) {
        SetupRC();
    }
    SetOrtho();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    RenderScene();
    glFlush();
}

void TGLControl::resizeGL(int, int) {
    SetOrtho();
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
