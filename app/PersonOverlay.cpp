#include "PersonOverlay.h"

#include <QAction>

TPersonOverlay::TPersonOverlay(TKind kind, TProjectSource project, const TReplay& replay,
                               QAction& overlaySwitch, QObject* parent)
    : QObject(parent), Kind(std::move(kind)), Project(std::move(project)), Replay(replay),
      OverlaySwitch(overlaySwitch), SwitchAsRead(Kind.Switch.Default) {
    connect(&OverlaySwitch, &QAction::triggered, this, &TPersonOverlay::Switch);
}

void TPersonOverlay::ReadSettings(TProgramSettings& settings) {
    SwitchAsRead = settings.Read(Kind.Switch);
    OverlaySwitch.setChecked(SwitchAsRead);
    Switch();
}

bool TPersonOverlay::WriteSettings(TProgramSettings& settings) const {
    return settings.WriteIfChanged(Kind.Switch, OverlaySwitch.isChecked(), SwitchAsRead);
}

void TPersonOverlay::Switch() {
    Shown = OverlaySwitch.isChecked() && Measure();
    Kind.Show(Shown, static_cast<float>(Kind.Seconds()));
}

// The view draws from what was measured, in place: a step only measures again.
void TPersonOverlay::ShowStep() {
    if (Shown) {
        Measure();
    } else if (OverlaySwitch.isChecked()) {
        Switch();
    }
}

void TPersonOverlay::Drop() {
    Shown = false;
    Kind.Show(false, static_cast<float>(Kind.Seconds()));
}

bool TPersonOverlay::Measure() {
    TLogFile* project = Project();
    if (project == nullptr) {
        return false;
    }
    Kind.Measure(*project, Replay, static_cast<float>(Kind.Seconds()));
    return true;
}
