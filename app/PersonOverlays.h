#pragma once
// What the view draws over the persons as the replay steps: their colours by the seconds each has
// stood still (Views > Colour by waiting) and the ways they came (Views > Trails), each with its
// switch and settings, updated together at every step and jump. The seconds each spans are the
// options record's.

#include "PersonOverlay.h"
#include "Trails.h"

#include <vector>

class TDeckView;
class TOptions;

class TPersonOverlays : public QObject {
public:
    TPersonOverlays(const TPersonOverlay::TProjectSource& project, const TReplay& replay,
                    const TOptions& options, TDeckView& view, QAction& shadeSwitch,
                    QAction& trailSwitch, QObject* parent);

    void ReadSettings(TProgramSettings& settings);
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const;
    void ShowStep();
    // The options changed how many seconds the overlays span.
    void SpansChanged();
    void Drop();

private:
    std::vector<float> WaitingSeconds;                    // by person
    std::vector<std::vector<TTrailPoint>> TrailStretches; // by deck
    TPersonOverlay Shades;
    TPersonOverlay Trails;
};
