#include "CornerPicture.h"

#include <GL/gl.h>

namespace {

constexpr int Margin = 8;

} // namespace

void TCornerPicture::Set(const QImage& picture) {
    Picture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGBA8888);
    Sent = false;
}

void TCornerPicture::Send() {
    if (Picture.isNull()) {
        Release();
        Sent = true;
        return;
    }
    if (Texture == 0) {
        glGenTextures(1, &Texture);
    }
    glBindTexture(GL_TEXTURE_2D, Texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, Picture.width(), Picture.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, Picture.constBits());
    glBindTexture(GL_TEXTURE_2D, 0);
    Sent = true;
}

void TCornerPicture::Release() {
    if (Texture != 0) {
        glDeleteTextures(1, &Texture);
        Texture = 0;
    }
    Sent = false;
}

void TCornerPicture::Draw(int width, int height) {
    if (!Sent) {
        Send();
    }
    if (Texture == 0) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, Texture);
    const auto x0 = static_cast<float>(
        Corner == TCorner::LowerRight ? width - Margin - Picture.width() : Margin);
    const auto y0 = static_cast<float>(
        Corner == TCorner::UpperLeft ? height - Margin - Picture.height() : Margin);
    const auto x1 = x0 + static_cast<float>(Picture.width());
    const auto y1 = y0 + static_cast<float>(Picture.height());
    // The picture's first row is its top.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y1);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
