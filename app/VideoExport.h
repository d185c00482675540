#pragma once
// A video of the replay made in the window: its frames drawn by a film of their own in the view's
// OpenGL context, into a framebuffer of the video's size whatever the window's size, and encoded
// on a thread of their own while the next is drawn.

#include "ReplayFilm.h"
#include "VideoWriter.h"

#include <QString>

#include <cstdint>
#include <functional>

class TGLControl;
class TLogFile;

struct TVideoRequest {
    QString FileName;
    TVideoSettings Video;
    TFrameRange Range;
    // Where the persons stand after the video, whatever its end: the step the window shows.
    std::int32_t StepAfter = 0;
};

// Told after each frame: how many are written of how many; false cancels the video.
using TVideoProgress = std::function<bool(std::int64_t written, std::int64_t count)>;

enum class TVideoEnd { Written, Cancelled, Failed };

struct TVideoOutcome {
    TVideoEnd End = TVideoEnd::Written;
    QString Error; // why it failed
};

// Writes the video. A cancelled or failed one leaves no file behind and an older file of that
// name as it was.
TVideoOutcome ExportVideo(TGLControl& view, TLogFile& project, const TFilmLook& look,
                          const TVideoRequest& request, const TVideoProgress& progress);
