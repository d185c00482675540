// Playback in the main window: the timer, the buttons and menu entries that drive the replay, and
// the status texts and redraw after each of its steps.

#include "MainForm.h"

#include "DeckView.h"
#include "MessageNesting.h"
#include "ProgramSettings.h"

#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <cmath>

void TMainForm::ConnectPlayback() {
    ConnectReplayCommand(Action(TCommand::PlayOrPause), &QAction::triggered,
                         &TMainForm::PlayOrPause);
    ConnectReplayCommand(Action(TCommand::ResetToStart), &QAction::triggered,
                         &TMainForm::ResetToStart);
    ConnectReplayCommand(Action(TCommand::SecondForward), &QAction::triggered,
                         &TMainForm::SecondForward);
    ConnectReplayCommand(Action(TCommand::SecondBackward), &QAction::triggered,
                         &TMainForm::SecondBackward);
    ConnectReplayCommand(PlayButton, &QToolButton::clicked, &TMainForm::PlayOrPause);
    ConnectReplayCommand(ResetButton, &QToolButton::clicked, &TMainForm::ResetToStart);
    ConnectReplayCommand(SecondForwardButton, &QToolButton::clicked, &TMainForm::SecondForward);
    ConnectReplayCommand(SecondBackwardButton, &QToolButton::clicked, &TMainForm::SecondBackward);
    connect(AnimationTimer, &QTimer::timeout, this, &TMainForm::PlaybackTimerFired);
}

void TMainForm::ConnectReplay() {
    Replay.AfterStep = [this] {
        ShowReplayTexts();
        ProcessPendingMessages();
        View->Paint();
    };
    Replay.AfterJump = [this] {
        ShowReplayTexts();
        View->Paint();
    };
}

void TMainForm::ShowReplayTexts() {
    TimePanel->setText(QString::fromStdString(Replay.TimeText()));
    SavedPanel->setText(QString::fromStdString(Replay.SavedText()));
    ShowReplayPosition();
}

// A speed of 0 or less, as a settings file may hold, plays at the default.
std::int32_t TMainForm::PlaybackSpeed() const {
    return MaxAnimationSpeed > 0 ? MaxAnimationSpeed : Settings::MaxAnimationSpeed.Default;
}

// Milliseconds between ticks for the speed times real time; never 0, where a timer would fire
// without pause.
int TMainForm::TickInterval() const {
    const double interval =
        std::trunc(1000.0 / double(PlaybackSpeed()) / double(Replay.StepsPerSecond()));
    return interval < 1.0 ? 1 : static_cast<int>(interval);
}

void TMainForm::StartAnimation() {
    if (!Replay.CanPlay()) {
        return; // without time steps per second there is nothing to play
    }
    AnimationTimer->start(TickInterval());
    MessagePanel->setText("Animation loop is running.");
    PlayButton->setChecked(true);
}

// A replay that was playing plays on to the next whole second; one paused between two, after
// single steps, stays where it is.
void TMainForm::StopAnimation() {
    const bool wasPlaying = AnimationTimer->isActive();
    AnimationTimer->stop();
    while (wasPlaying && !Replay.AtWholeSecond()) {
        Tick();
    }
    MessagePanel->setText(QString());
    PlayButton->setChecked(false);
}

// A tick that arrives while a command moves the replay, another tick among them, is dropped: it
// only keeps time, and the replay is busy.
void TMainForm::PlaybackTimerFired() {
    ReplayCommands.RunWhenIdle([this] { Tick(); });
}

void TMainForm::Tick() {
    Replay.Tick();
    ProcessPendingMessages();
}

void TMainForm::PlayOrPause() {
    if (!LogLoaded) {
        PlayButton->setChecked(false); // a click toggled it, but nothing plays
        return;
    }
    if (AnimationTimer->isActive()) {
        StopAnimation();
    } else {
        StartAnimation();
    }
    PlayButton->setChecked(AnimationTimer->isActive());
}

void TMainForm::ResetToStart() {
    Replay.Reset();
}

void TMainForm::SecondForward() {
    Replay.SecondForward();
}

void TMainForm::SecondBackward() {
    if (!LogLoaded) {
        return;
    }
    StopAnimation();
    Replay.SecondBackward();
}
