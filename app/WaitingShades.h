#pragma once
// Persons coloured by how long each has stood still: the switch in the Views menu, the limit where
// the colour scale ends, both kept in the settings store, and the seconds measured again at every
// step and jump of the replay while the switch is on.

#include "ProgramSettings.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class TDeckView;
class TLogFile;
class TReplay;

class TWaitingShades : public QObject {
public:
    // The project to measure, or none while none is loaded or one loads.
    using TProjectSource = std::function<TLogFile*()>;

    TWaitingShades(TProjectSource project, const TReplay& replay, TDeckView& view,
                   QAction& shadeSwitch, QObject* parent);

    void ReadSettings(TProgramSettings& settings);
    // What changed since it was read; false if the store refused.
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const;

    // The colours on or off, as the switch says.
    void Switch();
    // The replay moved, or a project is shown: the seconds at its step.
    void ShowStep();
    // The project goes: nothing is measured until the next is shown.
    void Drop();

    std::int32_t LimitSeconds() const { return Limit; }

private:
    bool Measure();

    TProjectSource Project;
    const TReplay& Replay;
    TDeckView& View;
    QAction& ShadeSwitch;
    std::vector<float> Seconds; // by person index, what the view draws from
    bool Shown = false;         // the view draws from Seconds
    std::int32_t Limit = Settings::WaitingLimit.Default;
    bool SwitchAsRead = Settings::ColourByWaiting.Default;
    std::int32_t LimitAsRead = Settings::WaitingLimit.Default;
};
