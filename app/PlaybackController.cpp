#include "PlaybackController.h"

#include "CommandActions.h"
#include "MessageNesting.h"
#include "ReachedSpeedLabel.h"
#include "Replay.h"
#include "TimeSlider.h"
#include "ToolBar.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Where the time controls start, right of the tool buttons, and how wide the fixed ones are.
constexpr int ReadoutWidth = 170;
constexpr int SpeedWidth = 64;
constexpr int ReachedWidth = 96;
constexpr int Gap = 6;

constexpr std::int32_t FastestSpeed = 1000;

// The speed a text asks for: a whole number from 1 to 1000, with or without the "x".
std::optional<std::int32_t> SpeedOf(QString text) {
    text = text.trimmed();
    if (text.endsWith('x')) {
        text.chop(1);
    }
    bool ok = false;
    const int speed = text.toInt(&ok);
    if (!ok || speed < 1 || speed > FastestSpeed) {
        return std::nullopt;
    }
    return speed;
}

QString SpeedText(std::int32_t speed) {
    return QStringLiteral("%1x").arg(speed);
}

} // namespace

TPlaybackController::TPlaybackController(TReplay& replay, std::function<bool()> hasProject,
                                         TToolBar& toolBar, const TPlaybackButtons& buttons,
                                         const TCommandActions& commands, QObject* parent)
    : QObject(parent), Replay(replay), HasProject(std::move(hasProject)), ToolBar(toolBar),
      Buttons(buttons) {
    AnimationTimer = new QTimer(this);
    AnimationTimer->setInterval(1);
    CreateTimeControls();
    ConnectCommands(commands);
}

void TPlaybackController::ConnectCommands(const TCommandActions& commands) {
    const auto connectCommand = [&](TCommand command, QToolButton* button,
                                    void (TPlaybackController::*slot)()) {
        const auto run = [this, slot] { (this->*slot)(); };
        ConnectReplayCommand(commands.Action(command), &QAction::triggered, run);
        if (button != nullptr) {
            ConnectReplayCommand(button, &QToolButton::clicked, run);
        }
    };
    connectCommand(TCommand::PlayOrPause, Buttons.Play, &TPlaybackController::PlayOrPause);
    connectCommand(TCommand::ResetToStart, Buttons.Reset, &TPlaybackController::ResetToStart);
    connectCommand(TCommand::SecondForward, Buttons.SecondForward,
                   &TPlaybackController::SecondForward);
    connectCommand(TCommand::SecondBackward, Buttons.SecondBackward,
                   &TPlaybackController::SecondBackward);
    connectCommand(TCommand::StepForward, nullptr, &TPlaybackController::StepForward);
    connectCommand(TCommand::StepBackward, nullptr, &TPlaybackController::StepBackward);
    connectCommand(TCommand::GoToStart, nullptr, &TPlaybackController::ResetToStart);
    connectCommand(TCommand::GoToEnd, nullptr, &TPlaybackController::GoToEnd);
    connect(AnimationTimer, &QTimer::timeout, this, &TPlaybackController::PlaybackTimerFired);
    connect(TimeSlider, &QSlider::valueChanged, this, [this](int second) {
        ReplayCommands.Run([this, second] { TimeSliderChange(second); });
    });
    connect(SpeedChooser, &QComboBox::activated, this, &TPlaybackController::SpeedChooserChange);
    connect(SpeedChooser->lineEdit(), &QLineEdit::editingFinished, this,
            &TPlaybackController::SpeedChooserChange);
}

void TPlaybackController::ReadSpeed(TProgramSettings& settings) {
    MaxAnimationSpeed = settings.Read(Settings::MaxAnimationSpeed);
    SpeedAsRead = MaxAnimationSpeed;
    ShowSpeed();
}

bool TPlaybackController::WriteSpeed(TProgramSettings& settings) const {
    return settings.WriteIfChanged(Settings::MaxAnimationSpeed, MaxAnimationSpeed, SpeedAsRead);
}

// A speed of 0 or less, as a settings file may hold, plays at the default.
std::int32_t TPlaybackController::PlaybackSpeed() const {
    return MaxAnimationSpeed > 0 ? MaxAnimationSpeed : Settings::MaxAnimationSpeed.Default;
}

// Milliseconds between ticks for the speed times real time; never 0, where a timer would fire
// without pause.
int TPlaybackController::TickInterval() const {
    const double interval =
        std::trunc(1000.0 / double(PlaybackSpeed()) / double(Replay.StepsPerSecond()));
    return interval < 1.0 ? 1 : static_cast<int>(interval);
}

void TPlaybackController::StartAnimation() {
    if (!Replay.CanPlay()) {
        return; // without time steps per second there is nothing to play
    }
    AnimationTimer->start(TickInterval());
    ReachedSpeed->Start(PlaybackSpeed(), Replay.StepsPerSecond(), Replay.TimeStep());
    emit Message("Animation loop is running.");
    Buttons.Play->setChecked(true);
}

// A replay that was playing plays on to the next whole second; one paused between two, after
// single steps, stays where it is.
void TPlaybackController::StopAnimation() {
    const bool wasPlaying = AnimationTimer->isActive();
    AnimationTimer->stop();
    ReachedSpeed->Stop();
    while (wasPlaying && !Replay.AtWholeSecond()) {
        Tick();
    }
    emit Message(QString());
    Buttons.Play->setChecked(false);
}

// A tick that arrives while a command moves the replay, another tick among them, is dropped: it
// only keeps time, and the replay is busy.
void TPlaybackController::PlaybackTimerFired() {
    ReplayCommands.RunWhenIdle([this] {
        Tick();
        if (AnimationTimer->isActive()) {
            ReachedSpeed->Played(Replay.TimeStep());
        }
    });
}

void TPlaybackController::Tick() {
    Replay.Tick();
    ProcessPendingMessages();
}

void TPlaybackController::PlayOrPause() {
    if (!HasProject()) {
        Buttons.Play->setChecked(false); // a click toggled it, but nothing plays
        return;
    }
    if (AnimationTimer->isActive()) {
        StopAnimation();
    } else {
        StartAnimation();
    }
    Buttons.Play->setChecked(AnimationTimer->isActive());
}

void TPlaybackController::ResetToStart() {
    Replay.Reset();
}

void TPlaybackController::SecondForward() {
    Replay.SecondForward();
}

void TPlaybackController::SecondBackward() {
    if (!HasProject()) {
        return;
    }
    StopAnimation();
    Replay.SecondBackward();
}

void TPlaybackController::StepForward() {
    if (!HasProject()) {
        return;
    }
    StopAnimation();
    if (Replay.CanStepForward()) {
        Replay.StepForward();
    }
}

void TPlaybackController::StepBackward() {
    if (!HasProject()) {
        return;
    }
    StopAnimation();
    if (Replay.TimeStep() > 0) {
        Replay.StepBackward();
    }
}

void TPlaybackController::GoToEnd() {
    if (HasProject()) {
        Replay.SeekToSecond(Replay.LastSecond());
    }
}

void TPlaybackController::CreateTimeControls() {
    TimeSlider = new TTimeSlider(&ToolBar);
    TimeSlider->setFocusPolicy(Qt::NoFocus);
    TimeSlider->setToolTip("replay time [start: Home, end: End]");
    TimeReadout = new QLabel(&ToolBar);
    ReachedSpeed = new TReachedSpeedLabel(&ToolBar);
    connect(ReachedSpeed, &TReachedSpeedLabel::ShownOrHidden, this,
            &TPlaybackController::LayoutTimeControls);
    SpeedChooser = new QComboBox(&ToolBar);
    SpeedChooser->setEditable(true);
    SpeedChooser->setInsertPolicy(QComboBox::NoInsert);
    SpeedChooser->setFocusPolicy(Qt::ClickFocus);
    for (const int speed : {1, 2, 5, 10, 20, 50}) {
        SpeedChooser->addItem(SpeedText(speed));
    }
    SpeedChooser->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[1-9][0-9]{0,3}x?"), SpeedChooser));
    SpeedChooser->setToolTip("playback speed, times real time");
    connect(&ToolBar, &TToolBar::LaidOut, this, &TPlaybackController::LayoutTimeControls);
    // The chooser takes the keys and hands most of them to its field.
    SpeedChooser->installEventFilter(this);
    SpeedChooser->lineEdit()->installEventFilter(this);
    LayoutTimeControls();
}

bool TPlaybackController::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the chooser is asked for its field only while it takes keys, never while
    // it is being destroyed.
    const bool escapeAtField =
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        (watched == SpeedChooser || watched == SpeedChooser->lineEdit());
    if (escapeAtField && event->type() == QEvent::ShortcutOverride) {
        event->accept(); // Escape only leaves the field: the window's Escape must not run
        return true;
    }
    if (escapeAtField) {
        LeaveSpeedField();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// The slider takes what the fixed controls leave of the tool bar's width, and makes room for the
// reached speed while it is told.
void TPlaybackController::LayoutTimeControls() {
    const int height = ToolBar.height();
    const int right = ToolBar.width();
    const int speedLeft = right - SpeedWidth;
    const int reachedLeft = speedLeft - (ReachedSpeed->isHidden() ? 0 : Gap + ReachedWidth);
    const int readoutLeft = reachedLeft - Gap - ReadoutWidth;
    SpeedChooser->setGeometry(speedLeft, 0, SpeedWidth, height);
    ReachedSpeed->setGeometry(reachedLeft, 0, ReachedWidth, height);
    TimeReadout->setGeometry(readoutLeft, 0, ReadoutWidth, height);
    const int sliderLeft = ToolBar.TimeControlsLeft();
    TimeSlider->setGeometry(sliderLeft, 0, std::max(0, readoutLeft - Gap - sliderLeft), height);
}

void TPlaybackController::ShowReplayPosition() {
    const QSignalBlocker quiet(TimeSlider);
    TimeSlider->setRange(0, Replay.LastSecond());
    TimeSlider->setPageStep(std::max(1, Replay.LastSecond() / 10));
    // The handle stays under the mouse while the user drags it.
    if (!TimeSlider->isSliderDown()) {
        TimeSlider->setValue(Replay.ElapsedSeconds());
    }
    TimeReadout->setText(QString::fromStdString(Replay.PositionText()));
}

// The list opens on the speed in use where it lists it.
void TPlaybackController::ShowSpeed() {
    const QString text = SpeedText(PlaybackSpeed());
    if (const int item = SpeedChooser->findText(text); item >= 0) {
        SpeedChooser->setCurrentIndex(item);
    }
    SpeedChooser->setEditText(text);
}

// A playing replay goes on from the second chosen.
void TPlaybackController::TimeSliderChange(int second) {
    if (HasProject()) {
        Replay.SeekToSecond(second);
    }
}

// A text that is no speed puts back the speed in use and says why.
void TPlaybackController::SpeedChooserChange() {
    const QString text = SpeedChooser->currentText();
    if (const auto speed = SpeedOf(text)) {
        MaxAnimationSpeed = *speed;
        if (AnimationTimer->isActive()) {
            AnimationTimer->setInterval(TickInterval());
            ReachedSpeed->Start(PlaybackSpeed(), Replay.StepsPerSecond(), Replay.TimeStep());
        }
    } else {
        emit Message(QStringLiteral("\"%1\" is not a speed: type a whole number from 1 "
                                    "to %2, such as 20 or 20x.")
                         .arg(text.trimmed())
                         .arg(FastestSpeed));
    }
    LeaveSpeedField();
}

// Escape leaves the field as it was; either way the replay's keys work again at once.
void TPlaybackController::LeaveSpeedField() {
    ShowSpeed();
    emit SpeedFieldLeft();
}
