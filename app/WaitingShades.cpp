#include "WaitingShades.h"

#include "DeckView.h"
#include "LogFile.h"
#include "Replay.h"
#include "Waiting.h"

#include <QAction>

TWaitingShades::TWaitingShades(TProjectSource project, const TReplay& replay, TDeckView& view,
                               QAction& shadeSwitch, QObject* parent)
    : QObject(parent), Project(std::move(project)), Replay(replay), View(view),
      ShadeSwitch(shadeSwitch) {
    connect(&ShadeSwitch, &QAction::triggered, this, &TWaitingShades::Switch);
}

// A limit of no seconds, as a settings file may hold, ends the scale at the default.
void TWaitingShades::ReadSettings(TProgramSettings& settings) {
    SwitchAsRead = settings.Read(Settings::ColourByWaiting);
    LimitAsRead = settings.Read(Settings::WaitingLimit);
    Limit = LimitAsRead > 0 ? LimitAsRead : Settings::WaitingLimit.Default;
    ShadeSwitch.setChecked(SwitchAsRead);
    Switch();
}

bool TWaitingShades::WriteSettings(TProgramSettings& settings) const {
    return settings.WriteIfChanged(Settings::ColourByWaiting, ShadeSwitch.isChecked(),
                                   SwitchAsRead) &&
           settings.WriteIfChanged(Settings::WaitingLimit, Limit, LimitAsRead);
}

void TWaitingShades::Switch() {
    Shown = ShadeSwitch.isChecked() && Measure();
    View.ShadePersonsByWaiting(Shown ? &Seconds : nullptr, static_cast<float>(Limit));
}

// The view draws from the seconds in place: a step only measures them again.
void TWaitingShades::ShowStep() {
    if (Shown) {
        Measure();
    } else if (ShadeSwitch.isChecked()) {
        Switch();
    }
}

void TWaitingShades::Drop() {
    Shown = false;
    Seconds.clear();
    View.ShadePersonsByWaiting(nullptr, static_cast<float>(Limit));
}

bool TWaitingShades::Measure() {
    TLogFile* project = Project();
    if (project == nullptr) {
        return false;
    }
    MeasureWaiting(project->Persons, Replay.TimeStep(), Replay.StepsPerSecond(), Seconds);
    return true;
}
