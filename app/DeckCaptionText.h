#pragma once
// A deck as the windows name it: its caption from the file, or "deck n" for a number the project
// has no deck for; and the caption of a shot or a video frame.

#include <QString>

#include <cstdint>

class TLogFile;
class TReplay;

QString DeckCaptionText(const TLogFile& project, std::int32_t deck);

// "Time: 1:05 min   Deck: Upper deck   Saved: 120 of 2.000": the replay's time and saved count,
// out of every person the header announces or the file describes.
QString FrameCaptionText(const TLogFile& project, const TReplay& replay, std::int32_t deck);
