#pragma once
// What the view draws over the persons as the replay steps: their colours by the seconds each has
// stood still (Views > Colour by waiting) and the ways they came (Views > Trails), each with its
// switch and settings, updated together at every step and jump.

#include "PersonOverlay.h"
#include "Trails.h"

#include <vector>

class TDeckView;

class TPersonOverlays : public QObject {
public:
    TPersonOverlays(const TPersonOverlay::TProjectSource& project, const TReplay& replay,
                    TDeckView& view, QAction& shadeSwitch, QAction& trailSwitch, QObject* parent);

    void ReadSettings(TProgramSettings& settings);
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const;
    void ShowStep();
    void Drop();

private:
    std::vector<float> WaitingSeconds;                    // by person
    std::vector<std::vector<TTrailPoint>> TrailStretches; // by deck
    TPersonOverlay Shades;
    TPersonOverlay Trails;
};
