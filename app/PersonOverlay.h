#pragma once
// One thing the view draws over the persons as the replay steps (their colours by waiting, their
// trails): its switch, kept in the settings store, the number of seconds it spans, which the
// options say, and what it shows measured again at every step and jump of the replay while the
// switch is on.

#include "ProgramSettings.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QAction;
class TLogFile;
class TReplay;

class TPersonOverlay : public QObject {
public:
    struct TKind {
        const TSetting<bool>& Switch;
        std::function<std::int32_t()> Seconds; // as the options say at the moment
        // Measures at the replay's step what is shown; the view draws from it in place.
        std::function<void(TLogFile& project, const TReplay& replay, float seconds)> Measure;
        // The view shows it, spanning `seconds`, or not.
        std::function<void(bool shown, float seconds)> Show;
    };
    // The project to measure, or none while none is loaded or one loads.
    using TProjectSource = std::function<TLogFile*()>;

    TPersonOverlay(TKind kind, TProjectSource project, const TReplay& replay,
                   QAction& overlaySwitch, QObject* parent);

    void ReadSettings(TProgramSettings& settings);
    // What changed since it was read; false if the store refused.
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const;

    // On or off, as the switch says; also when the seconds it spans have changed.
    void Switch();
    // The replay moved, or a project is shown.
    void ShowStep();
    // The project goes: nothing is measured until the next is shown.
    void Drop();

private:
    bool Measure();

    TKind Kind;
    TProjectSource Project;
    const TReplay& Replay;
    QAction& OverlaySwitch;
    bool Shown = false; // the view draws from what was measured
    bool SwitchAsRead;
};
