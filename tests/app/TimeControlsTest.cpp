// The replay's time controls in the main window: the slider and its readout, the speed chooser,
// single time steps, and the keys to either end.

#include "MainWindowFixture.h"
#include "ProgramSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

#include <tuple>

namespace {

const QString Small = TestDataDir + "/small.3dl"; // 5 persons, vmax 4, toff 0, the last leaves
                                                  // at step 289: 73 whole seconds

// Everything a step changes: each person's place and deck, the saved count, and the headings,
// which a step back leaves as they were.
using TPlaces = std::vector<std::tuple<float, float, std::int32_t>>;
struct TSnapshot {
    std::int32_t Step;
    std::int32_t Saved;
    TPlaces Places;
    std::vector<std::int32_t> Headings;
    bool operator==(const TSnapshot&) const = default;
    bool SamePlaces(const TSnapshot& other) const {
        return Step == other.Step && Saved == other.Saved && Places == other.Places;
    }
};

TSnapshot SnapshotOf(const TReplay& replay, const TLogFile& project) {
    TSnapshot snapshot{replay.TimeStep(), replay.SavedCount(), {}, {}};
    for (const TPersonData& person : project.Persons) {
        snapshot.Places.emplace_back(person.X(), person.Y(), person.Level);
        snapshot.Headings.push_back(person.Heading);
    }
    return snapshot;
}

// The same file replayed on its own, one step at a time from the start.
TSnapshot SteppedTo(const QString& path, std::int32_t step) {
    TNoProgressWindow progress;
    TLogFile project("Level");
    project.Load(path.toStdString(), progress);
    TReplay replay;
    replay.SetProject(&project);
    for (std::int32_t i = 0; i < step; ++i) {
        replay.StepForward();
    }
    return SnapshotOf(replay, project);
}

class TimeControls : public MainWindowFixture {
protected:
    TSnapshot Now() const {
        return SnapshotOf(Window->Projects->Replay, *Window->Projects->LogFile);
    }

    // Where a click in the slider's groove lands on the given second.
    QPoint SliderPointOf(int second) const {
        QStyleOptionSlider option;
        option.initFrom(Window->Playback->TimeSlider);
        option.minimum = Window->Playback->TimeSlider->minimum();
        option.maximum = Window->Playback->TimeSlider->maximum();
        option.orientation = Qt::Horizontal;
        const QRect groove = Window->Playback->TimeSlider->style()->subControlRect(
            QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, Window->Playback->TimeSlider);
        const QRect handle = Window->Playback->TimeSlider->style()->subControlRect(
            QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, Window->Playback->TimeSlider);
        const int span = groove.width() - handle.width();
        const int x = QStyle::sliderPositionFromValue(option.minimum, option.maximum, second, span);
        return {groove.x() + handle.width() / 2 + x, Window->Playback->TimeSlider->height() / 2};
    }

    // The view as the window system shows it, once what was asked for is drawn.
    QImage OnScreen() const {
        QTest::qWait(200);
        const QPoint corner = Window->View->mapTo(Window.get(), QPoint{0, 0});
        return Window->screen()
            ->grabWindow(Window->winId(), corner.x(), corner.y(), Window->View->width(),
                         Window->View->height())
            .toImage();
    }

    void ChooseSpeed(const QString& text) {
        Window->Playback->SpeedChooser->setEditText(text);
        emit Window->Playback->SpeedChooser->lineEdit()->editingFinished();
    }
};

TEST_F(TimeControls, ASeekLandsWhereSteppingLandsForwardsBackwardsAndWhilePlaying) {
    ShowAndWait();
    Load(Small);
    EXPECT_EQ(Window->Playback->TimeSlider->maximum(), 73);
    for (const int second : {10, 3, 60, 0, 73, 59}) {
        SCOPED_TRACE(second);
        Window->Playback->TimeSlider->setValue(second);
        EXPECT_EQ(Now(), SteppedTo(Small, second * 4));
    }
    // A click in the groove jumps to the second under the mouse.
    QTest::mouseClick(Window->Playback->TimeSlider, Qt::LeftButton, {}, SliderPointOf(20));
    EXPECT_EQ(Window->Playback->TimeSlider->value(), 20);
    EXPECT_EQ(Now(), SteppedTo(Small, 80));

    // A playing replay goes on from the second chosen.
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    Window->Playback->PlaybackTimerFired();
    Window->Playback->TimeSlider->setValue(30);
    EXPECT_TRUE(Window->Playback->AnimationTimer->isActive());
    Window->Playback->PlaybackTimerFired();
    EXPECT_EQ(Now(), SteppedTo(Small, 121));

    Window->Action(TCommand::GoToEnd)->trigger();
    EXPECT_EQ(Now(), SteppedTo(Small, 292));
    EXPECT_EQ(Window->Status->SavedPanel->text(), "Saved: 5");
    Window->Action(TCommand::GoToStart)->trigger();
    EXPECT_EQ(Now(), SteppedTo(Small, 0));
}

TEST_F(TimeControls, TheSliderAndItsReadoutFollowStepsAndTheLoop) {
    Load(Small);
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "0:00 / 1:13, step 0");
    Window->Playback->SecondForward();
    EXPECT_EQ(Window->Playback->TimeSlider->value(), 1);
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "0:01 / 1:13, step 4");
    Window->Action(TCommand::StepForward)->trigger();
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "0:01 / 1:13, step 5");
    EXPECT_EQ(Window->Status->TimePanel->text(),
              "Time: 0:01 min"); // the status bar keeps its texts

    Window->Playback->TimeSlider->setValue(72);
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "1:12 / 1:13, step 288");
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    // Everybody has left at step 289: the loop starts over, and so does the slider.
    Window->Playback->PlaybackTimerFired();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0);
    EXPECT_EQ(Window->Playback->TimeSlider->value(), 0);
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "0:00 / 1:13, step 0");

    // A file with an offset counts it in both times, as the status bar does after step 0.
    Load(WriteProject(FloorProject(8, 2, 30, {{1, 1, "3 3 3 S"}})));
    Window->Playback->SecondForward();
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "0:31 / 0:32, step 2");
    EXPECT_EQ(Window->Playback->TimeSlider->maximum(), 2);
}

TEST_F(TimeControls, SingleStepsRetraceExactlyAndPauseAPlayingReplay) {
    Load(Small);
    std::vector<TSnapshot> way{Now()};
    for (int i = 0; i < 13; ++i) {
        Window->Playback->StepForward();
        way.push_back(Now());
    }
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 13);
    for (int i = 12; i >= 0; --i) {
        Window->Playback->StepBackward();
        EXPECT_TRUE(Now().SamePlaces(way[static_cast<std::size_t>(i)])) << i;
    }
    Window->Playback->StepBackward();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0) << "never before the start";
    EXPECT_TRUE(Now().SamePlaces(SteppedTo(Small, 0)));

    // Playing, paused at step 2: plays on to the whole second, then one step.
    Window->Playback->StartAnimation();
    {
        const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
        Window->Playback->PlaybackTimerFired();
        Window->Playback->PlaybackTimerFired();
        Window->Playback->StepForward();
    }
    EXPECT_FALSE(Window->Playback->AnimationTimer->isActive());
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 5);
    // A pause between two seconds stays there: play and pause again go on to the next one.
    Window->Playback->PlayOrPause();
    Window->Playback->PlayOrPause();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 8);

    Window->Action(TCommand::GoToEnd)->trigger();
    Window->Playback->StepForward();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 292) << "nothing after everybody has left";
}

// Whatever was shown before, the same step gives the same picture on the screen and the same
// readout; the first picture of a new view is no exception.
TEST_F(TimeControls, TheSameStepLooksTheSameHoweverItWasReached) {
    ShowAndWait();
    Load(WriteProject(FloorProject(8, 4, 30, {{1, 1, "3 3 3 3 3 S"}})));
    const QImage loaded = OnScreen();
    const QString readout = Window->Playback->TimeReadout->text();
    EXPECT_EQ(readout, "0:30 / 0:32, step 0");
    for (QAction* away :
         {Window->Action(TCommand::GoToEnd), Window->Action(TCommand::SecondForward)}) {
        away->trigger();
        Window->Action(TCommand::GoToStart)->trigger();
        EXPECT_TRUE(OnScreen() == loaded) << away->text().toStdString();
        EXPECT_EQ(Window->Playback->TimeReadout->text(), readout);
    }
    // Back to step 0 by a second back and by single steps (which leave headings as they were,
    // so only the readout is compared).
    Window->Action(TCommand::SecondForward)->trigger();
    Window->Action(TCommand::SecondBackward)->trigger();
    EXPECT_EQ(Window->Playback->TimeReadout->text(), readout);
    Window->Action(TCommand::StepForward)->trigger();
    Window->Action(TCommand::StepBackward)->trigger();
    EXPECT_EQ(Window->Playback->TimeReadout->text(), readout);
}

TEST_F(TimeControls, TheSpeedChangesARunningReplayAndIsKeptInTheSettings) {
    Load(Small);
    EXPECT_EQ(Window->Playback->SpeedChooser->currentText(), "5x");
    Window->Playback->StartAnimation();
    EXPECT_EQ(Window->Playback->AnimationTimer->interval(), 50);
    ChooseSpeed("20x");
    EXPECT_TRUE(Window->Playback->AnimationTimer->isActive());
    EXPECT_EQ(Window->Playback->AnimationTimer->interval(), 12); // 1000 / 20 / 4
    ChooseSpeed("7");
    EXPECT_EQ(Window->Playback->AnimationTimer->interval(), 35);
    EXPECT_EQ(Window->Playback->SpeedChooser->currentText(), "7x");
    ChooseSpeed("1001");
    EXPECT_EQ(Window->Playback->SpeedChooser->currentText(), "7x")
        << "no speed: the one in use stays";
    EXPECT_EQ(Window->Playback->AnimationTimer->interval(), 35);
    Window->Playback->SpeedChooser->setCurrentIndex(
        Window->Playback->SpeedChooser->findText("50x"));
    emit Window->Playback->SpeedChooser->activated(Window->Playback->SpeedChooser->currentIndex());
    EXPECT_EQ(Window->Playback->MaxAnimationSpeed, 50);

    Window->close();
    EXPECT_EQ(TSettingsStore().ReadInteger(TProgramSettings::KeyPath(), "MaxAnimationSpeed"), 50);
    TMainWindowProbe next;
    EXPECT_EQ(next.Playback->MaxAnimationSpeed, 50);
    EXPECT_EQ(next.Playback->SpeedChooser->currentText(), "50x");
}

} // namespace
