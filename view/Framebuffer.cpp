#include "Framebuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

std::string TFramebuffer::Open(std::int32_t width, std::int32_t height) {
    Release();
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width > largest || height > largest) {
        return "This OpenGL driver draws at most " + std::to_string(largest) + " pixels a side";
    }
    FWidth = width;
    FHeight = height;
    glGenFramebuffers(1, &Framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    glGenRenderbuffers(1, &ColorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, ColorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, FWidth, FHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, ColorBuffer);
    glGenRenderbuffers(1, &DepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, DepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, FWidth, FHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, DepthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Release();
        return "No framebuffer of " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels could be made";
    }
    glViewport(0, 0, FWidth, FHeight);
    return {};
}

void TFramebuffer::Bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    glViewport(0, 0, FWidth, FHeight);
}

void TFramebuffer::ReadFrame(QImage& bottomUp) const {
    if (bottomUp.width() != FWidth || bottomUp.height() != FHeight ||
        bottomUp.format() != QImage::Format_RGBX8888) {
        bottomUp = QImage(FWidth, FHeight, QImage::Format_RGBX8888);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, FWidth, FHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.bits());
}

void TFramebuffer::Release() {
    if (Framebuffer != 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(1, &DepthBuffer);
        glDeleteRenderbuffers(1, &ColorBuffer);
        glDeleteFramebuffers(1, &Framebuffer);
    }
    Framebuffer = ColorBuffer = DepthBuffer = 0;
    FWidth = FHeight = 0;
}
