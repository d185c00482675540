#pragma once
// Playback: the timer, seconds and single steps, seeks, the speed, the time slider with its
// readout, and the one rule for the commands that move the replay: each runs after those given
// before it.

#include "ProgramSettings.h"
#include "ReplayCommands.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QSlider;
class QTimer;
class QToolButton;
class TCommandActions;
class TReachedSpeedLabel;
class TReplay;
class TToolBar;

// The tool bar's playback buttons, made by the window where its layout puts them.
struct TPlaybackButtons {
    QToolButton* Reset;
    QToolButton* Play;
    QToolButton* SecondBackward;
    QToolButton* SecondForward;
};

class TPlaybackController : public QObject {
    Q_OBJECT

public:
    // Drives replay, which plays only while hasProject says there is a project; the time
    // controls go into the tool bar, right of its buttons.
    TPlaybackController(TReplay& replay, std::function<bool()> hasProject, TToolBar& toolBar,
                        const TPlaybackButtons& buttons, const TCommandActions& commands,
                        QObject* parent);

    // Connects a signal to a command that moves the replay, or that shows where it stands: the
    // command runs after any that runs or waits.
    template <typename Sender, typename Signal>
    void ConnectReplayCommand(Sender* sender, Signal signal, std::function<void()> command) {
        connect(sender, signal, this,
                [this, command = std::move(command)] { ReplayCommands.Run(command); });
    }

    void ReadSpeed(TProgramSettings& settings);
    // The speed playing goes at, as a multiple of real time.
    std::int32_t PlaybackSpeed() const;
    // The speed if it was changed since it was read; false if the store refused it.
    [[nodiscard]] bool WriteSpeed(TProgramSettings& settings) const;

    void PlayOrPause();
    void StartAnimation();
    // A replay that was playing plays on to the next whole second.
    void StopAnimation();
    void ResetToStart();
    void SecondForward();
    void SecondBackward();
    void StepForward();
    void StepBackward();
    void GoToEnd();
    void PlaybackTimerFired();
    // The slider and its readout where the replay stands.
    void ShowReplayPosition();

    // Playback speed, times real time.
    std::int32_t MaxAnimationSpeed = Settings::MaxAnimationSpeed.Default;
    TReplayCommands ReplayCommands;
    QTimer* AnimationTimer = nullptr; // one tick a time step while playing
    QSlider* TimeSlider = nullptr;    // the replay's whole seconds
    QLabel* TimeReadout = nullptr;    // "1:05 / 3:20, step 261"
    QComboBox* SpeedChooser = nullptr;
    TReachedSpeedLabel* ReachedSpeed = nullptr; // "reached 1.6x" while playback lags

signals:
    // For the status bar: what runs, or why a typed speed was refused; empty when nothing runs.
    void Message(const QString& text);
    // The speed field is left: the keys go back to the view.
    void SpeedFieldLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectCommands(const TCommandActions& commands);
    void CreateTimeControls();
    void LayoutTimeControls();
    void TimeSliderChange(int second);
    void SpeedChooserChange();
    void LeaveSpeedField();
    void ShowSpeed();
    int TickInterval() const;
    void Tick();

    TReplay& Replay;
    std::function<bool()> HasProject;
    TToolBar& ToolBar;
    TPlaybackButtons Buttons;
    std::int32_t SpeedAsRead = Settings::MaxAnimationSpeed.Default; // to tell what changed
};
