#pragma once
// An OpenGL context without any window system, drawing into a framebuffer object of a fixed
// size: frames are rendered and read back on a machine with no display at all. It takes Mesa's
// surfaceless EGL platform and a desktop OpenGL compatibility context, so the fixed-function
// calls of the deck renderer work as they do in the window.

#include "Framebuffer.h"

#include <QImage>

#include <cstdint>
#include <string>

class TOffscreenCanvas {
public:
    TOffscreenCanvas() = default;
    ~TOffscreenCanvas();
    TOffscreenCanvas(const TOffscreenCanvas&) = delete;
    TOffscreenCanvas& operator=(const TOffscreenCanvas&) = delete;

    // Makes the context and a framebuffer of width x height pixels, both current on this thread
    // with the viewport set. Empty on success; otherwise why there is none.
    std::string Open(std::int32_t width, std::int32_t height);

    // Waits for the frame drawn and reads it back into rows, bottom row first as OpenGL counts
    // them: 4 bytes a pixel, red, green, blue and an opaque fourth byte.
    void ReadFrame(QImage& bottomUp) const;

    std::int32_t Width() const { return Frames.Width(); }
    std::int32_t Height() const { return Frames.Height(); }

private:
    std::string OpenDisplay();
    std::string OpenContext();
    void Close();

    void* Display = nullptr; // EGLDisplay
    void* Context = nullptr; // EGLContext
    TFramebuffer Frames;
};
