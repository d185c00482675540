#pragma once
// The ways persons came, as trails on the deck: the switch in the Views menu, how many seconds a
// trail reaches back, both kept in the settings store, and the trails measured again at every
// step and jump of the replay while the switch is on.

#include "ProgramSettings.h"
#include "Trails.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class TDeckView;
class TLogFile;
class TReplay;

class TTrailLines : public QObject {
public:
    // The project to measure, or none while none is loaded or one loads.
    using TProjectSource = std::function<TLogFile*()>;

    TTrailLines(TProjectSource project, const TReplay& replay, TDeckView& view,
                QAction& trailSwitch, QObject* parent);

    void ReadSettings(TProgramSettings& settings);
    // What changed since it was read; false if the store refused.
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const;

    // The trails on or off, as the switch says.
    void Switch();
    // The replay moved, or a project is shown: the trails at its step.
    void ShowStep();
    // The project goes: nothing is measured until the next is shown.
    void Drop();

private:
    bool Measure();

    TProjectSource Project;
    const TReplay& Replay;
    TDeckView& View;
    QAction& TrailSwitch;
    std::vector<std::vector<TTrailPoint>> Stretches; // by deck, what the view draws from
    bool Shown = false;                              // the view draws from Stretches
    std::int32_t Seconds = Settings::TrailSeconds.Default;
    bool SwitchAsRead = Settings::ShowTrails.Default;
    std::int32_t SecondsAsRead = Settings::TrailSeconds.Default;
};
