#pragma once
// A film of the replay: frames of one deck seen from a camera, with what the window draws over
// the persons and an optional caption, each drawn for a step by a renderer and a replay of their
// own into whichever framebuffer is bound. The frames written without a display and the videos
// exported from the window are drawn alike by it.

#include "CameraMath.h"
#include "DeckRenderer.h"
#include "Replay.h"
#include "SelectionDrawing.h"
#include "Trails.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class TLogFile;

struct TFilmLook {
    std::int32_t Deck = 0;
    TCamera Camera;
    // What is drawn over the deck. Its map and outlines must outlive the film; a map up to a
    // moment moves with the frames; waiting and trails are measured for each frame; the person
    // selected is drawn with its way.
    TDrawnLayers Layers;
    // The camera keeps the person selected in the centre and goes to its deck at every frame,
    // and holds still once it has left.
    bool Following = false;
    // The time, the deck and the saved count in the upper left corner.
    bool Caption = false;
};

// The steps a film shows: from..to every few steps, or for a video the step each of its frames
// shows, at its frames a second and replay seconds a second.
struct TFrameRange {
    std::int32_t From = 0;
    std::int32_t To = 0;
    std::int32_t Every = 1;
    std::optional<std::int32_t> VideoFramesPerSecond;
    std::int32_t VideoSpeedThousandths = 1000;
    std::int32_t StepsPerSecond = 1;

    // Frame i shows step From + round(i x steps a second x speed / frames a second), rounded
    // half up.
    std::int64_t StepOf(std::int64_t frame) const;
    std::int64_t Count() const;
};

// The steps a second a video counts: the project's, or one where time cannot pass.
std::int32_t VideoStepsPerSecond(const TLogFile& project);
// The frames of a video of the steps from..to, at its frames a second, showing speedThousandths
// thousandths of a second of replay in each of its seconds.
TFrameRange VideoRange(const TLogFile& project, std::int32_t from, std::int32_t to,
                       std::int32_t framesPerSecond, std::int32_t speedThousandths);

class TReplayFilm {
public:
    // Shows the project from the look's camera; the replay it steps is its own, but the persons
    // are the project's: the caller puts them back where it needs them after the film.
    TReplayFilm(TLogFile& project, const TFilmLook& look);

    // Made once the camera has been fitted or the bad headings are to be told; before the
    // first frame.
    TDeckRenderer& Renderer() { return FRenderer; }
    TCamera& Camera() { return Look.Camera; }

    // With the drawing context current: makes what the renderer keeps in it.
    void InitializeContext() { FRenderer.InitializeContext(); }
    // The persons where the replay has them at the step, drawn into the framebuffer bound, of
    // width x height pixels.
    void DrawStep(std::int32_t step, std::int32_t width, std::int32_t height);
    // The persons where a replay at the step has them, as they were before the film for the
    // window that showed them.
    void PutPersonsAt(std::int32_t step) { Replay.SeekToStep(step); }
    // With the same context current: frees what the renderer keeps in it.
    void ReleaseGraphics() { FRenderer.ReleaseGraphics(); }

private:
    void FollowSelected();
    void ShowLegends();
    void MoveMap();

    TLogFile& Project;
    TFilmLook Look;
    TDeckRenderer FRenderer;
    TReplay Replay;
    // The caption's text of the last frame: its picture is made again only when the text changes.
    QString CaptionText;
    // Measured again for every frame; the renderer reads them as it draws.
    std::vector<float> Waiting;
    std::vector<std::vector<TTrailPoint>> Trails;
    TShownSelection Shown;
    // The map up to the step of the frame, when the look's map is one up to a moment.
    std::optional<TCongestionMapNow> MapNow;
    bool LegendShown = false; // the map's legend at the time of a frame
};
