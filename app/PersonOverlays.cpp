#include "PersonOverlays.h"

#include "DeckView.h"
#include "LogFile.h"
#include "Options.h"
#include "Replay.h"
#include "Waiting.h"

TPersonOverlays::TPersonOverlays(const TPersonOverlay::TProjectSource& project,
                                 const TReplay& replay, const TOptions& options, TDeckView& view,
                                 QAction& shadeSwitch, QAction& trailSwitch, QObject* parent)
    : QObject(parent),
      Shades({Settings::ColourByWaiting, [&options] { return options.WaitingLimit; },
              [this](TLogFile& shown, const TReplay& at, float) {
                  MeasureWaiting(shown.Persons, at.TimeStep(), at.StepsPerSecond(), WaitingSeconds);
              },
              [this, &view](bool shown, float limit) {
                  view.ShadePersonsByWaiting(shown ? &WaitingSeconds : nullptr, limit);
              }},
             project, replay, shadeSwitch, this),
      Trails({Settings::ShowTrails, [&options] { return options.TrailSeconds; },
              [this](TLogFile& shown, const TReplay& at, float seconds) {
                  MeasureTrails(shown.Persons, at.TimeStep(), at.StepsPerSecond(), seconds,
                                shown.ZMax, TrailStretches);
              },
              [this, &view](bool shown, float seconds) {
                  view.ShowTrails(shown ? &TrailStretches : nullptr, seconds);
              }},
             project, replay, trailSwitch, this) {}

void TPersonOverlays::ReadSettings(TProgramSettings& settings) {
    Shades.ReadSettings(settings);
    Trails.ReadSettings(settings);
}

bool TPersonOverlays::WriteSettings(TProgramSettings& settings) const {
    return Shades.WriteSettings(settings) && Trails.WriteSettings(settings);
}

void TPersonOverlays::ShowStep() {
    Shades.ShowStep();
    Trails.ShowStep();
}

void TPersonOverlays::SpansChanged() {
    Shades.Switch();
    Trails.Switch();
}

void TPersonOverlays::Drop() {
    Shades.Drop();
    Trails.Drop();
}
