#pragma once
// The caption that shots and videos may carry in their upper left corner: one line of text, such
// as the time, the deck and the saved count, white on a dark band, sized to the frame.

#include <QImage>
#include <QString>

// The caption for a frame of that height in pixels: its letters a thirtieth of the frame's height
// (at least 11 pixels), so that it reads alike in a small shot and in a large video.
QImage CaptionPicture(const QString& text, int frameHeight);
