#include "ReplayFilm.h"

#include "DeckCaptionText.h"
#include "FrameCaption.h"
#include "LogFile.h"
#include "PersonWay.h"
#include "ScaleLegends.h"
#include "Waiting.h"

#include <algorithm>

std::int64_t TFrameRange::StepOf(std::int64_t frame) const {
    if (!VideoFramesPerSecond) {
        return From + frame * Every;
    }
    const std::int64_t over = std::int64_t{*VideoFramesPerSecond} * 1000;
    const std::int64_t steps = frame * StepsPerSecond * VideoSpeedThousandths;
    return From + (2 * steps + over) / (2 * over);
}

std::int64_t TFrameRange::Count() const {
    std::int64_t count = 0;
    while (StepOf(count) <= To) {
        ++count;
    }
    return count;
}

std::int32_t VideoStepsPerSecond(const TLogFile& project) {
    return std::max(project.VMax, 1);
}

TFrameRange VideoRange(const TLogFile& project, std::int32_t from, std::int32_t to,
                       std::int32_t framesPerSecond, std::int32_t speedThousandths) {
    return {from, to, 1, framesPerSecond, speedThousandths, VideoStepsPerSecond(project)};
}

TReplayFilm::TReplayFilm(TLogFile& project, const TFilmLook& look) : Project(project), Look(look) {
    const TDrawnLayers& layers = look.Layers;
    FRenderer.ShowProject(project);
    FRenderer.SelectDeck(look.Deck);
    Replay.SetProject(&project);
    if (FRenderer.ShowOrigin() != layers.ShowOrigin) {
        FRenderer.ToggleOrigin();
    }
    if (layers.WaitingLimit) {
        FRenderer.ShadePersonsByWaiting(&Waiting, *layers.WaitingLimit);
    }
    if (layers.TrailSeconds) {
        FRenderer.ShowTrails(&Trails, *layers.TrailSeconds);
    }
    if (layers.Map != nullptr) {
        if (layers.Map->Whole != nullptr) {
            MapNow.emplace(*layers.Map->Whole);
        }
        FRenderer.ShowCongestionMap(layers.Map);
        FRenderer.HidePersonsOnMap(layers.HidePersonsOnMap);
    }
    FRenderer.ShowRegionOutlines(layers.Outlines);
    FRenderer.ShowScaleBar(layers.ScaleBarCellMetres);
    if (layers.Selected && *layers.Selected < project.Persons.size()) {
        Shown.Person = *layers.Selected;
        Shown.Way = WayOf(project.Persons[Shown.Person], project.XMax, project.YMax);
        FRenderer.ShowSelection(&Shown);
    } else {
        Look.Layers.Selected.reset();
    }
    ShowLegends();
}

void TReplayFilm::ShowLegends() {
    const TDrawnLayers& layers = Look.Layers;
    const TCongestionMap* map = MapNow ? &MapNow->Map() : layers.Map;
    FRenderer.SetCornerPicture(
        StackedLegends(map != nullptr ? CongestionLegend(*map) : QImage(),
                       layers.WaitingLimit ? WaitingLegend(*layers.WaitingLimit) : QImage()));
}

// The map up to the replay's step, its legend made again when its time changes.
void TReplayFilm::MoveMap() {
    const std::int32_t seconds = MapNow->Map().UpToSeconds;
    MapNow->MoveTo(Replay.TimeStep(), Replay.TimeSeconds());
    FRenderer.ShowCongestionMap(&MapNow->Map());
    if (MapNow->Map().UpToSeconds != seconds || !LegendShown) {
        ShowLegends();
        LegendShown = true;
    }
}

void TReplayFilm::DrawStep(std::int32_t step, std::int32_t width, std::int32_t height) {
    // Far steps are jumped to, near ones stepped: the same persons either way.
    Replay.SeekToStep(step);
    if (MapNow) {
        MoveMap();
    }
    if (Look.Layers.WaitingLimit) {
        MeasureWaiting(Project.Persons, Replay.TimeStep(), Replay.StepsPerSecond(), Waiting);
    }
    if (Look.Layers.TrailSeconds) {
        MeasureTrails(Project.Persons, Replay.TimeStep(), Replay.StepsPerSecond(),
                      *Look.Layers.TrailSeconds, Project.ZMax, Trails);
    }
    if (Look.Layers.Selected) {
        Shown.Step = Replay.TimeStep();
        if (Look.Following) {
            FollowSelected();
        }
    }
    if (Look.Caption) {
        QString text = FrameCaptionText(Project, Replay, FRenderer.DeckIndex());
        if (text != CaptionText) {
            FRenderer.SetCaption(CaptionPicture(text, height));
            CaptionText = std::move(text);
        }
    }
    FRenderer.DrawFrame(Look.Camera, width, height);
}

// As Follow does in the window: its deck, and it in the centre; nothing once it has left.
void TReplayFilm::FollowSelected() {
    const TPersonData& person = Project.Persons[Shown.Person];
    if (person.Level >= 0 && FRenderer.SelectDeck(person.Level)) {
        Look.Camera.FPan = {-double{person.X()}, -double{person.Y()}};
    }
}
