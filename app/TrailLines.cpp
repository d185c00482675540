#include "TrailLines.h"

#include "DeckView.h"
#include "LogFile.h"
#include "Replay.h"

#include <QAction>

TTrailLines::TTrailLines(TProjectSource project, const TReplay& replay, TDeckView& view,
                         QAction& trailSwitch, QObject* parent)
    : QObject(parent), Project(std::move(project)), Replay(replay), View(view),
      TrailSwitch(trailSwitch) {
    connect(&TrailSwitch, &QAction::triggered, this, &TTrailLines::Switch);
}

// Trails of no seconds, as a settings file may hold, reach back the default.
void TTrailLines::ReadSettings(TProgramSettings& settings) {
    SwitchAsRead = settings.Read(Settings::ShowTrails);
    SecondsAsRead = settings.Read(Settings::TrailSeconds);
    Seconds = SecondsAsRead > 0 ? SecondsAsRead : Settings::TrailSeconds.Default;
    TrailSwitch.setChecked(SwitchAsRead);
    Switch();
}

bool TTrailLines::WriteSettings(TProgramSettings& settings) const {
    return settings.WriteIfChanged(Settings::ShowTrails, TrailSwitch.isChecked(), SwitchAsRead) &&
           settings.WriteIfChanged(Settings::TrailSeconds, Seconds, SecondsAsRead);
}

void TTrailLines::Switch() {
    Shown = TrailSwitch.isChecked() && Measure();
    View.ShowTrails(Shown ? &Stretches : nullptr, static_cast<float>(Seconds));
}

// The view draws from the stretches in place: a step only measures them again.
void TTrailLines::ShowStep() {
    if (Shown) {
        Measure();
    } else if (TrailSwitch.isChecked()) {
        Switch();
    }
}

void TTrailLines::Drop() {
    Shown = false;
    Stretches.clear();
    View.ShowTrails(nullptr, static_cast<float>(Seconds));
}

bool TTrailLines::Measure() {
    TLogFile* project = Project();
    if (project == nullptr) {
        return false;
    }
    MeasureTrails(project->Persons, Replay.TimeStep(), Replay.StepsPerSecond(),
                  static_cast<float>(Seconds), project->ZMax, Stretches);
    return true;
}
