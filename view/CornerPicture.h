#pragma once
// A picture laid over the lower left corner of the frame, pixel for pixel and blended by its
// alpha, such as a legend. Held as a texture, sent again only when the picture changes.

#include <QImage>

class TCornerPicture {
public:
    // Set and Release need the drawing context current; an empty picture draws nothing.
    void Set(const QImage& picture);
    void Release();
    // Over whatever was drawn, in a viewport of width x height pixels.
    void Draw(int width, int height) const;

private:
    unsigned Texture = 0;
    int Width = 0;
    int Height = 0;
};
