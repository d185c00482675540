// The replay: a timer steps every person one time step at a time; the replay loops when
// everybody has left, and pausing always ends on a whole second.

#include "MainForm.h"

#include "MessageNesting.h"
#include "ReplayTexts.h"
#include "SettingsKeys.h"
#include "CellView3D.h"

#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace {

// Milliseconds between ticks for speed times real time; never 0, where a timer would fire
// without pause.
int TickInterval(std::int32_t speed, std::int32_t vMax) {
    const double interval = std::trunc(1000.0 / double(speed) / double(vMax));
    return interval < 1.0 ? 1 : static_cast<int>(interval);
}

} // namespace

void TMainForm::ConnectPlayback() {
    connect(Run1, &QAction::triggered, this, &TMainForm::Run1Click);
    connect(ResettoStart1, &QAction::triggered, this, &TMainForm::ResettoStart1Click);
    connect(Forward1, &QAction::triggered, this, &TMainForm::Forward1Click);
    connect(Backward1, &QAction::triggered, this, &TMainForm::Backward1Click);
    connect(SpeedButton_PlayLoop, &QToolButton::clicked, this, &TMainForm::Run1Click);
    connect(BitBtn_ResetToStart, &QToolButton::clicked, this, &TMainForm::ResettoStart1Click);
    connect(BitBtn_StepFore, &QToolButton::clicked, this, &TMainForm::Forward1Click);
    connect(BitBtn_StepBack, &QToolButton::clicked, this, &TMainForm::Backward1Click);
    connect(AnimationTimer, &QTimer::timeout, this, &TMainForm::AnimationTimerTimer);
}

bool TMainForm::CanPlay() const {
    return LogLoaded && LogFile && LogFile->VMax > 0;
}

void TMainForm::ShowReplayStatus() {
    SetStatus(2, QString::fromStdString(SavedText(SavedCount)));
    TimeSeconds = ReplayTimeSeconds(TimeStep, LogFile->VMax, LogFile->TOff);
    SetStatus(1, QString::fromStdString(TimeText(TimeSeconds)));
    ProcessPendingMessages();
    View->Paint();
}

void TMainForm::StepForward() {
    ++TimeStep;
    SavedCount = LogFile->StepPersonsForward(TimeStep - 1);
    ShowReplayStatus();
}

void TMainForm::StepBackward() {
    --TimeStep;
    SavedCount = LogFile->StepPersonsBackward(TimeStep);
    ShowReplayStatus();
}

void TMainForm::StartAnimation() {
    if (!CanPlay()) {
        return; // without time steps per second there is nothing to play
    }
    const std::int32_t speed =
        MaxAnimationSpeed > 0 ? MaxAnimationSpeed : SettingsKeys::MaxAnimationSpeedDefault;
    AnimationTimer->start(TickInterval(speed, LogFile->VMax));
    SetStatus(3, "Animation loop is running.");
    SpeedButton_PlayLoop->setChecked(true);
}

void TMainForm::StopAnimation() {
    AnimationTimer->stop();
    if (CanPlay()) {
        while (TimeStep % LogFile->VMax != 0) {
            Tick();
        }
    }
    SetStatus(3, QString());
    SpeedButton_PlayLoop->setChecked(false);
}

// A tick that arrives while another one lets messages run is dropped: two steps inside one
// would count the saved persons of the wrong step.
void TMainForm::AnimationTimerTimer() {
    if (InTick) {
        return;
    }
    Tick();
}

void TMainForm::Tick() {
    // A tick run by a pause inside another tick must leave that tick's guard up.
    const bool outerTick = InTick;
    InTick = true;
    StepForward();
    if (SavedCount == LogFile->PMax) {
        ResettoStart1Click(); // everybody has left: the replay starts again
    }
    ProcessPendingMessages();
    InTick = outerTick;
}

void TMainForm::Run1Click() {
    if (!LogLoaded) {
        SpeedButton_PlayLoop->setChecked(false); // a click toggled it, but nothing plays
        return;
    }
    if (AnimationTimer->isActive()) {
        StopAnimation();
    } else {
        StartAnimation();
    }
    SpeedButton_PlayLoop->setChecked(AnimationTimer->isActive());
}

void TMainForm::ResettoStart1Click() {
    if (!LogLoaded) {
        return;
    }
    for (TPersonData& person : LogFile->Persons) {
        person.Reset(LogFile->XMax, LogFile->YMax);
    }
    SavedCount = 0;
    TimeStep = 0;
    SetStatus(1, "Time: 0:00 min");
    SetStatus(2, "Saved: 0");
    View->Paint();
}

void TMainForm::Forward1Click() {
    if (!CanPlay() || SavedCount >= LogFile->PMax) {
        return;
    }
    for (std::int32_t i = 0; i < LogFile->VMax; ++i) {
        StepForward();
    }
}

void TMainForm::Backward1Click() {
    if (!LogLoaded) {
        return;
    }
    StopAnimation();
    if (CanPlay() && TimeStep > 0) {
        for (std::int32_t i = 0; i < LogFile->VMax && TimeStep > 0; ++i) {
            StepBackward();
        }
    }
}
