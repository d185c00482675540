#include "OffscreenCanvas.h"

#include <cstdio>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

namespace {

std::string EglError(const char* what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string(what) + " (EGL error " + code + ")";
}

// The display of Mesa's surfaceless platform: rendering with no window system at all.
EGLDisplay SurfacelessDisplay() {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

} // namespace

TOffscreenCanvas::~TOffscreenCanvas() {
    Close();
}

std::string TOffscreenCanvas::Open(std::int32_t width, std::int32_t height) {
    Close();
    std::string error = OpenDisplay();
    if (error.empty()) {
        error = OpenContext();
    }
    if (error.empty()) {
        // A context without a surface has no default framebuffer: the frame goes to one of its
        // own.
        error = Frames.Open(width, height);
    }
    if (!error.empty()) {
        Close();
    }
    return error;
}

std::string TOffscreenCanvas::OpenDisplay() {
    Display = SurfacelessDisplay();
    if (Display == EGL_NO_DISPLAY) {
        return "No OpenGL without a display: the EGL surfaceless platform is missing";
    }
    if (eglInitialize(Display, nullptr, nullptr) != EGL_TRUE) {
        Display = EGL_NO_DISPLAY;
        return EglError("No OpenGL without a display: EGL could not be initialised");
    }
    return {};
}

// Version 2.1 gives a context with the fixed-function pipeline on every driver; 3.1 would be
// a core context without it.
std::string TOffscreenCanvas::OpenContext() {
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        return EglError("Desktop OpenGL is not available through EGL");
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (eglChooseConfig(Display, configAttributes, &config, 1, &configCount) != EGL_TRUE ||
        configCount < 1) {
        return EglError("No EGL configuration for desktop OpenGL");
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1,
                                        EGL_NONE};
    Context = eglCreateContext(Display, config, EGL_NO_CONTEXT, contextAttributes);
    if (Context == EGL_NO_CONTEXT) {
        return EglError("No OpenGL 2.1 context could be made");
    }
    if (eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, Context) != EGL_TRUE) {
        return EglError("The OpenGL context could not be made current");
    }
    return {};
}

void TOffscreenCanvas::ReadFrame(QImage& bottomUp) const {
    Frames.ReadFrame(bottomUp);
}

void TOffscreenCanvas::Close() {
    if (Context != nullptr && Display != nullptr) {
        Frames.Release();
        eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(Display, Context);
    }
    if (Display != nullptr) {
        eglTerminate(Display);
        eglReleaseThread();
    }
    Display = nullptr;
    Context = nullptr;
}
