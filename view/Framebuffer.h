#pragma once
// A framebuffer object of a fixed size in whichever OpenGL context is current: frames drawn into
// it are read back, whatever the size of any window. The context without a display draws all
// its frames into one; the window draws a video's frames into one of its own context.

#include <QImage>

#include <cstdint>
#include <string>

class TFramebuffer {
public:
    TFramebuffer() = default;
    // The context it was made in must be current, or gone.
    ~TFramebuffer() { Release(); }
    TFramebuffer(const TFramebuffer&) = delete;
    TFramebuffer& operator=(const TFramebuffer&) = delete;

    // Makes it, with the colour and depth bits the window asks for, bound with the viewport set.
    // Empty on success; otherwise why there is none.
    std::string Open(std::int32_t width, std::int32_t height);
    // Draws go to it from now on, in a viewport of its size.
    void Bind() const;
    // Waits for the frame drawn and reads it back into rows, bottom row first as OpenGL counts
    // them: 4 bytes a pixel, red, green, blue and an opaque fourth byte.
    void ReadFrame(QImage& bottomUp) const;
    void Release();

    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }

private:
    unsigned Framebuffer = 0;
    unsigned ColorBuffer = 0;
    unsigned DepthBuffer = 0;
    std::int32_t FWidth = 0;
    std::int32_t FHeight = 0;
};
