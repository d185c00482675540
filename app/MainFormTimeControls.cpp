// The replay's time in the tool bar: a slider over the whole replay with a readout of where it
// stands, the playback speed, and the commands that move one time step or to either end.

#include "MainForm.h"

#include "DeckView.h"
#include "TimeSlider.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>

namespace {

// Where the time controls start, right of the tool buttons, and how wide the fixed ones are.
constexpr int TimeControlsLeft = 328;
constexpr int ReadoutWidth = 170;
constexpr int SpeedWidth = 64;
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

void TMainForm::CreateTimeControls() {
    TimeSlider = new TTimeSlider(ToolBarPanel);
    TimeSlider->setFocusPolicy(Qt::NoFocus);
    TimeSlider->setToolTip("replay time [start: Home, end: End]");
    TimeReadout = new QLabel(ToolBarPanel);
    SpeedChooser = new QComboBox(ToolBarPanel);
    SpeedChooser->setEditable(true);
    SpeedChooser->setInsertPolicy(QComboBox::NoInsert);
    SpeedChooser->setFocusPolicy(Qt::ClickFocus);
    for (const int speed : {1, 2, 5, 10, 20, 50}) {
        SpeedChooser->addItem(SpeedText(speed));
    }
    SpeedChooser->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[1-9][0-9]{0,3}x?"), SpeedChooser));
    SpeedChooser->setToolTip("playback speed, times real time");
    ToolBarPanel->installEventFilter(this);
    // The chooser takes the keys and hands most of them to its field.
    SpeedChooser->installEventFilter(this);
    SpeedChooser->lineEdit()->installEventFilter(this);
    LayoutTimeControls();
}

void TMainForm::ConnectTimeControls() {
    connect(TimeSlider, &QSlider::valueChanged, this, [this](int second) {
        ReplayCommands.Run([this, second] { TimeSliderChange(second); });
    });
    connect(SpeedChooser, &QComboBox::activated, this, &TMainForm::SpeedChooserChange);
    connect(SpeedChooser->lineEdit(), &QLineEdit::editingFinished, this,
            &TMainForm::SpeedChooserChange);
    ConnectReplayCommand(Action(TCommand::StepForward), &QAction::triggered,
                         &TMainForm::StepForward);
    ConnectReplayCommand(Action(TCommand::StepBackward), &QAction::triggered,
                         &TMainForm::StepBackward);
    ConnectReplayCommand(Action(TCommand::GoToStart), &QAction::triggered,
                         &TMainForm::ResetToStart);
    ConnectReplayCommand(Action(TCommand::GoToEnd), &QAction::triggered, &TMainForm::GoToEnd);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ToolBarPanel && event->type() == QEvent::Resize) {
        LayoutTimeControls();
    }
    if ((watched == SpeedChooser || watched == SpeedChooser->lineEdit()) &&
        event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        LeaveSpeedField();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The slider takes what the fixed controls leave of the tool bar's width.
void TMainForm::LayoutTimeControls() {
    const int height = ToolBarPanel->height();
    const int right = ToolBarPanel->width();
    const int speedLeft = right - SpeedWidth;
    const int readoutLeft = speedLeft - Gap - ReadoutWidth;
    SpeedChooser->setGeometry(speedLeft, 0, SpeedWidth, height);
    TimeReadout->setGeometry(readoutLeft, 0, ReadoutWidth, height);
    TimeSlider->setGeometry(TimeControlsLeft, 0, std::max(0, readoutLeft - Gap - TimeControlsLeft),
                            height);
}

void TMainForm::ShowReplayPosition() {
    const QSignalBlocker quiet(TimeSlider);
    TimeSlider->setRange(0, Replay.LastSecond());
    TimeSlider->setPageStep(std::max(1, Replay.LastSecond() / 10));
    // The handle stays under the mouse while the user drags it.
    if (!TimeSlider->isSliderDown()) {
        TimeSlider->setValue(Replay.ElapsedSeconds());
    }
    TimeReadout->setText(QString::fromStdString(Replay.PositionText()));
    Evacuation->ShowCurveTime();
}

// The list opens on the speed in use where it lists it.
void TMainForm::ShowSpeed() {
    const QString text = SpeedText(PlaybackSpeed());
    if (const int item = SpeedChooser->findText(text); item >= 0) {
        SpeedChooser->setCurrentIndex(item);
    }
    SpeedChooser->setEditText(text);
}

// A playing replay goes on from the second chosen.
void TMainForm::TimeSliderChange(int second) {
    if (LogLoaded) {
        Replay.SeekToSecond(second);
    }
}

// A text that is no speed puts back the speed in use and says why.
void TMainForm::SpeedChooserChange() {
    const QString text = SpeedChooser->currentText();
    if (const auto speed = SpeedOf(text)) {
        MaxAnimationSpeed = *speed;
        if (AnimationTimer->isActive()) {
            AnimationTimer->setInterval(TickInterval());
        }
    } else {
        MessagePanel->setText(QStringLiteral("\"%1\" is not a speed: type a whole number from 1 "
                                             "to %2, such as 20 or 20x.")
                                  .arg(text.trimmed())
                                  .arg(FastestSpeed));
    }
    LeaveSpeedField();
}

// Escape leaves the field as it was; either way the replay's keys work again at once.
void TMainForm::LeaveSpeedField() {
    ShowSpeed();
    View->setFocus();
}

void TMainForm::StepForward() {
    if (!LogLoaded) {
        return;
    }
    StopAnimation();
    if (Replay.CanStepForward()) {
        Replay.StepForward();
    }
}

void TMainForm::StepBackward() {
    if (!LogLoaded) {
        return;
    }
    StopAnimation();
    if (Replay.TimeStep() > 0) {
        Replay.StepBackward();
    }
}

void TMainForm::GoToEnd() {
    if (LogLoaded) {
        Replay.SeekToSecond(Replay.LastSecond());
    }
}
