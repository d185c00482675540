#include "DeckBackdrop.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

// Frames larger than this draw their deck every time rather than keep a second copy of it:
// 4096 x 4096 pixels, 128 MB of colour and depth.
constexpr std::int64_t MaxKeptPixels = std::int64_t{1} << 24;
constexpr GLint ChannelBits = 8;

GLint Bound(GLenum binding) {
    GLint name = 0;
    glGetIntegerv(binding, &name);
    return name;
}

bool HasStencil(int depthFormat) {
    return depthFormat == GL_DEPTH24_STENCIL8 || depthFormat == GL_DEPTH32F_STENCIL8;
}

// Whether the framebuffer bound has 8 bits in every colour channel, as the kept copy has.
bool HasEightBitColour() {
    for (const GLenum channel :
         {GLenum{GL_RED_BITS}, GLenum{GL_GREEN_BITS}, GLenum{GL_BLUE_BITS}}) {
        if (Bound(channel) != ChannelBits) {
            return false;
        }
    }
    return true;
}

} // namespace

bool TDeckBackdrop::Fill(const TBackdropKey& key, const std::function<void()>& drawDeck) {
    const bool sameAsLast = key == LastKey;
    LastKey = key;
    if (!sameAsLast || std::int64_t{key.Width} * key.Height > MaxKeptPixels || key.Width <= 0 ||
        key.Height <= 0) {
        Kept = false;
        return false;
    }
    const std::optional<int> depthFormat = CopyableDepthFormat();
    if (!depthFormat) {
        Kept = false;
        return false;
    }
    const GLint target = Bound(GL_DRAW_FRAMEBUFFER_BINDING);
    if (!Kept) {
        if (!Open(key.Width, key.Height, *depthFormat)) {
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(target));
            return false;
        }
        Draw(drawDeck, target);
        Kept = true;
    }
    CopyTo(target);
    return true;
}

std::optional<int> TDeckBackdrop::CopyableDepthFormat() const {
    if (Bound(GL_DRAW_FRAMEBUFFER_BINDING) == 0 || Bound(GL_SAMPLE_BUFFERS) != 0 ||
        !HasEightBitColour()) {
        return std::nullopt;
    }
    GLint type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    if (type != GL_RENDERBUFFER) {
        return std::nullopt;
    }
    GLint depth = 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &depth);
    const GLint previous = Bound(GL_RENDERBUFFER_BINDING);
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(depth));
    GLint format = 0;
    GLint samples = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &samples);
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previous));
    if (samples != 0 || format == 0) {
        return std::nullopt;
    }
    return format;
}

// Leaves its framebuffer bound for drawing where it made one.
bool TDeckBackdrop::Open(std::int32_t width, std::int32_t height, int depthFormat) {
    if (Framebuffer != 0 && width == Width && height == Height && depthFormat == DepthFormat) {
        return true;
    }
    Release();
    glGenFramebuffers(1, &Framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Framebuffer);
    glGenRenderbuffers(1, &ColorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, ColorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              ColorBuffer);
    glGenRenderbuffers(1, &DepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, DepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, static_cast<GLenum>(depthFormat), width, height);
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER,
                              HasStencil(depthFormat) ? GL_DEPTH_STENCIL_ATTACHMENT
                                                      : GL_DEPTH_ATTACHMENT,
                              GL_RENDERBUFFER, DepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Release();
        return false;
    }
    Width = width;
    Height = height;
    DepthFormat = depthFormat;
    return true;
}

// Clears and draws the deck into the kept picture, then draws go to the frame again.
void TDeckBackdrop::Draw(const std::function<void()>& drawDeck, int target) const {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Framebuffer);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawDeck();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(target));
}

void TDeckBackdrop::CopyTo(int target) const {
    const GLint read = Bound(GL_READ_FRAMEBUFFER_BINDING);
    const bool scissored = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(target));
    glBlitFramebuffer(0, 0, Width, Height, 0, 0, Width, Height,
                      GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    if (scissored) {
        glEnable(GL_SCISSOR_TEST);
    }
}

void TDeckBackdrop::Release() {
    if (Framebuffer != 0) {
        glDeleteRenderbuffers(1, &DepthBuffer);
        glDeleteRenderbuffers(1, &ColorBuffer);
        glDeleteFramebuffers(1, &Framebuffer);
    }
    Framebuffer = ColorBuffer = DepthBuffer = 0;
    Width = Height = 0;
    DepthFormat = 0;
    Kept = false;
}
