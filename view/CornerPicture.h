#pragma once
// A picture laid over a corner of the frame, pixel for pixel and blended by its alpha, such as a
// legend or a caption. Held as a texture, sent again only when the picture changes.

#include <QImage>

enum class TCorner { LowerLeft, UpperLeft, LowerRight };

class TCornerPicture {
public:
    explicit TCornerPicture(TCorner corner) : Corner(corner) {}

    // The picture from the next frame on, without any context; a null picture removes it.
    void Set(const QImage& picture);
    // Release needs the drawing context current; the picture is sent again at the next Draw.
    void Release();
    // Over whatever was drawn, in a viewport of width x height pixels, with the context current.
    void Draw(int width, int height);

private:
    void Send();

    TCorner Corner;
    QImage Picture;
    bool Sent = false; // the texture holds Picture
    unsigned Texture = 0;
};
