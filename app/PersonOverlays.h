#pragma once
// What the view draws over the persons as the replay steps: their colours by waiting and their
// trails, each with its switch and settings, updated together at every step and jump.

#include "TrailLines.h"
#include "WaitingShades.h"

class TPersonOverlays : public QObject {
public:
    TPersonOverlays(const std::function<TLogFile*()>& project, const TReplay& replay,
                    TDeckView& view, QAction& shadeSwitch, QAction& trailSwitch, QObject* parent)
        : QObject(parent), Shades(project, replay, view, shadeSwitch, this),
          Trails(project, replay, view, trailSwitch, this) {}

    void ReadSettings(TProgramSettings& settings) {
        Shades.ReadSettings(settings);
        Trails.ReadSettings(settings);
    }
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const {
        return Shades.WriteSettings(settings) && Trails.WriteSettings(settings);
    }
    void ShowStep() {
        Shades.ShowStep();
        Trails.ShowStep();
    }
    void Drop() {
        Shades.Drop();
        Trails.Drop();
    }

private:
    TWaitingShades Shades;
    TTrailLines Trails;
};
