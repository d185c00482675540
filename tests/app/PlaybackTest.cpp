// The replay's wiring in the main window: the timer, the buttons and menu entries, the status
// texts and the redraw; the replay's own rules are tested without a window. Ticks are called
// directly; where the timer has to run, its signal is blocked so that only the test decides how
// many steps happen.

#include "GuiTestMain.h"
#include "MainWindowFixture.h"
#include "ReachedSpeed.h"
#include "ReachedSpeedLabel.h"

#include <QCoreApplication>
#include <QOpenGLWindow>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

const QString Small = SamplesDir + "/small.3dl"; // 5 persons, vmax 4, toff 0

class Playback : public MainWindowFixture {
protected:
    void ExpectPaused() const {
        EXPECT_FALSE(Window->Playback->AnimationTimer->isActive());
        EXPECT_FALSE(Window->Tools->PlayButton->isChecked());
        EXPECT_NE(Window->Status->MessagePanel->text(), "Animation loop is running.");
    }
};

TEST_F(Playback, CommandsBeforeALoadDoNothing) {
    Window->Playback->PlayOrPause();
    Window->Playback->SecondForward();
    Window->Playback->SecondBackward();
    Window->Playback->ResetToStart();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0);
    EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:00 min");
    ExpectPaused();
    // The button is down only while playing, however the command was given.
    Window->Tools->PlayButton->click();
    ExpectPaused();
}

TEST_F(Playback, TimerIntervalFollowsTheSpeedAndNeverDropsToZero) {
    Load(Small);
    // speed, interval in ms with vmax 4; a speed of 0 or less plays at the default 5.
    for (const auto& [speed, interval] :
         {std::pair{5, 50}, {3, 83}, {0, 50}, {-2, 50}, {300, 1}, {5000, 1}}) {
        Window->Playback->MaxAnimationSpeed = speed;
        Window->Playback->PlayOrPause();
        EXPECT_TRUE(Window->Playback->AnimationTimer->isActive()) << speed;
        EXPECT_EQ(Window->Playback->AnimationTimer->interval(), interval) << speed;
        EXPECT_TRUE(Window->Tools->PlayButton->isChecked());
        EXPECT_EQ(Window->Status->MessagePanel->text(), "Animation loop is running.");
        Window->Playback->PlayOrPause();
        ExpectPaused();
    }
}

TEST_F(Playback, WithoutTimeStepsPerSecondNothingPlays) {
    for (const int vMax : {0, -2}) {
        Load(WriteProject(FloorProject(4, vMax, 0, {{1, 1, "3 3 S"}})));
        Window->Tools->PlayButton->click();
        Window->Action(TCommand::PlayOrPause)->trigger();
        Window->Action(TCommand::PlayOrPause)->trigger();
        ExpectPaused();
        Window->Playback->SecondForward();
        Window->Playback->SecondBackward();
        EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0) << vMax;
        EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:00 min");
        EXPECT_EQ(Window->Projects->LogFile->Persons[0].X(), CellCentreX(1, 4));
    }
    EXPECT_EQ(Ui.Messages.size(), 2U) << "the reader's warning, once per file";
}

TEST_F(Playback, PausingPlaysOnToTheNextWholeSecond) {
    Load(Small);
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    for (int i = 0; i < 6; ++i) {
        Window->Projects->Replay.StepForward();
    }
    Window->Playback->PlayOrPause();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 8);
    EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:02 min");
    ExpectPaused();
}

TEST_F(Playback, StepBackPausesAndGoesBackOneWholeSecond) {
    Load(Small);
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    Window->Playback->SecondBackward();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0);
    ExpectPaused();

    Window->Playback->StartAnimation();
    for (int i = 0; i < 10; ++i) {
        Window->Projects->Replay.StepForward();
    }
    Window->Tools->SecondBackwardButton->click(); // plays on to 12, then one second back
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 8);
    EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:02 min");
    ExpectPaused();
}

TEST_F(Playback, WhenThePlayingReplayStartsOverTheStatusSaysSoAndTheTimerRuns) {
    // One step per second; the longer list ends at step 5, so everybody has left at step 6.
    Load(WriteProject(FloorProject(8, 1, 0, {{1, 1, "3 3 3 S"}, {1, 3, "3 3 3 3 3 S"}})));
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    for (int tick = 1; tick <= 5; ++tick) {
        Window->Playback->PlaybackTimerFired();
    }
    QTest::qWait(150); // while playing, the texts follow at most ten times a second
    EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:05 min");
    EXPECT_EQ(Window->Status->SavedPanel->text(), "Saved: 1");
    Window->Playback->PlaybackTimerFired();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0);
    EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:00 min");
    EXPECT_EQ(Window->Status->SavedPanel->text(), "Saved: 0");
    EXPECT_TRUE(Window->Playback->AnimationTimer->isActive());
    EXPECT_TRUE(Window->Tools->PlayButton->isChecked());
}

TEST_F(Playback, ATickWhileAnotherLetsMessagesRunIsDropped) {
    Load(Small);
    // Queued now, delivered while the tick below lets pending messages run.
    QMetaObject::invokeMethod(Window->Playback, &TPlaybackController::PlaybackTimerFired,
                              Qt::QueuedConnection);
    Window->Playback->PlaybackTimerFired();
    QCoreApplication::processEvents(); // had the queued tick not come yet, it would step now
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 1);
    EXPECT_EQ(Window->Status->TimePanel->text(), "Time: 0:00 min");
    Window->Playback->PlaybackTimerFired();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 2);
}

TEST_F(Playback, ATickIsDroppedAlsoAfterAPauseAndPlayWithinAnotherTick) {
    Load(Small);
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    // While the tick below lets messages run, the user pauses (which plays on to step 4) and
    // plays again, and then the timer fires.
    QMetaObject::invokeMethod(
        Window.get(),
        [&] {
            Window->Playback->PlayOrPause();
            Window->Playback->PlayOrPause();
            QMetaObject::invokeMethod(Window->Playback, &TPlaybackController::PlaybackTimerFired,
                                      Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    Window->Playback->PlaybackTimerFired();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 4);
    EXPECT_TRUE(Window->Playback->AnimationTimer->isActive());
}

TEST_F(Playback, AStepRedrawsThePersonAtItsNewCell) {
    ShowAndWait();
    // A 20 x 20 floor, and one person who walks four cells east in the first second.
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "3 3 3 3 S"}})));
    Window->ViewCommands->SwitchOriginMarker(); // the marker is green too
    const double distance = Window->View->Distance();
    const QImage before = Frame();
    // Cell centres (4, 10) and (8, 10) lie at x = -5.5 and -1.5, y = -0.5. The prism stands on
    // that point, so the pixel of the floor point shows the prism whatever the perspective
    // makes of its top.
    const QPoint from = FloorPixel(before, distance, -5.5, -0.5);
    const QPoint to = FloorPixel(before, distance, -1.5, -0.5);
    ASSERT_TRUE(IsPersonGreen(PixelAt(before, from)));
    ASSERT_FALSE(IsPersonGreen(PixelAt(before, to)));
    Window->Playback->SecondForward();
    const QImage after = Frame();
    EXPECT_FALSE(IsPersonGreen(PixelAt(after, from)));
    EXPECT_TRUE(IsPersonGreen(PixelAt(after, to)));
}

// What a step changes besides the persons (the followed person's camera and way, the waiting
// colours, the trails, the texts) is drawn in the step's one frame, not in a frame of its own.
TEST_F(Playback, AStepDrawsOneFrameWhateverItShows) {
    ShowAndWait();
    Load(Small);
    Ui.NumberAnswers = {2};
    Window->Action(TCommand::FindPerson)->trigger();
    Window->Action(TCommand::FollowSelected)->trigger();
    Window->Action(TCommand::ColourByWaiting)->trigger();
    Window->Action(TCommand::Trails)->trigger();
    ASSERT_TRUE(Window->Action(TCommand::FollowSelected)->isChecked());
    QCoreApplication::processEvents();
    int frames = 0;
    QObject::connect(&Window->View->Surface(), &QOpenGLWindow::frameSwapped, [&] { ++frames; });
    constexpr int Steps = 8;
    for (int step = 0; step < Steps; ++step) {
        Window->Playback->StepForward();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(frames, Steps);
}

// A command that fails among those typed ahead: told once, and the keys typed after it still run,
// in their order; the queue takes new commands afterwards.
TEST(ReplayCommandQueue, ACommandThatThrowsIsToldOnceAndThoseQueuedBehindItStillRun) {
    TRecordingUiServices ui;
    const TScopedUiServices installed{ui};
    TReplayCommands commands;
    std::vector<int> ran;
    commands.Run([&] {
        commands.Run([] { throw std::runtime_error("no memory left for the step"); });
        commands.Run([&] { ran.push_back(2); });
        commands.Run([&] { ran.push_back(3); });
        ran.push_back(1);
    });
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(commands.Running());
    ASSERT_EQ(ui.Messages.size(), 1U);
    EXPECT_EQ(ui.Messages[0].Title, "Error");
    EXPECT_EQ(ui.Messages[0].Text,
              "The command could not be carried out:\nno memory left for the step");
    commands.Run([&] { ran.push_back(4); });
    EXPECT_EQ(ran.back(), 4);
}

} // namespace

// The main of the whole test program, ViewCommandsTest.cpp included.
int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}

namespace {

using TClock = TReachedSpeed::TClock;

// Plays steps at a pace: one step every `every` from `start` for `span`; returns what was told at
// the end, and the first moment anything was told.
struct TPlayed {
    std::optional<double> Told;
    std::optional<TClock::duration> FirstToldAfter;
};
TPlayed PlayAtPace(TReachedSpeed& meter, TClock::time_point start, std::chrono::milliseconds every,
                   std::chrono::milliseconds span, std::int32_t& step) {
    TPlayed played;
    for (auto now = start + every; now <= start + span; now += every) {
        played.Told = meter.Played(++step, now);
        if (played.Told && !played.FirstToldAfter) {
            played.FirstToldAfter = now - start;
        }
    }
    return played;
}

} // namespace

// 4 steps a second at 10x asks for 40 steps a second. Keeping up, or a short stall, is never told;
// 20 steps a second for longer than two seconds is told as 5x, and no longer once playback keeps
// up again. A replay that starts over is measured afresh, not as a speed below zero.
TEST(ReachedSpeed, IsToldOnlyWhilePlaybackStaysBelowTheSpeedAskedFor) {
    using namespace std::chrono_literals;
    TReachedSpeed meter;
    const TClock::time_point start{};
    std::int32_t step = 0;
    meter.Start(10.0, 4, step, start);
    EXPECT_FALSE(PlayAtPace(meter, start, 25ms, 5s, step).Told);
    EXPECT_FALSE(PlayAtPace(meter, start + 5s, 40ms, 1500ms, step).FirstToldAfter) << "short stall";
    EXPECT_FALSE(PlayAtPace(meter, start + 6500ms, 25ms, 2s, step).FirstToldAfter);
    const TPlayed slow = PlayAtPace(meter, start + 8500ms, 50ms, 4s, step);
    ASSERT_TRUE(slow.Told);
    EXPECT_NEAR(*slow.Told, 5.0, 0.01);
    EXPECT_GE(*slow.FirstToldAfter, 2s);
    EXPECT_LE(*slow.FirstToldAfter, 3s);
    step = 0; // starts over
    const TPlayed over = PlayAtPace(meter, start + 12500ms, 50ms, 500ms, step);
    EXPECT_TRUE(over.Told && *over.Told > 0) << "kept, and never below zero";
    EXPECT_FALSE(PlayAtPace(meter, start + 13s, 25ms, 2s, step).Told) << "keeps up again";
    meter.Stop();
    EXPECT_FALSE(meter.Played(++step, start + 16s));
    EXPECT_EQ(TReachedSpeed::Text(1.64), "reached 1.6x");
    EXPECT_EQ(TReachedSpeed::Text(12.4), "reached 12x");
}

// At a speed the timer cannot give (1000x asks for a step every quarter millisecond), the label
// beside the speed chooser tells what is reached, and goes when playback stops.
TEST_F(Playback, ASpeedNotReachedIsToldBesideTheChooser) {
    ShowAndWait();
    Load(Small);
    Window->Playback->MaxAnimationSpeed = 1000;
    Window->Playback->PlayOrPause();
    TReachedSpeedLabel& reached = *Window->Playback->ReachedSpeed;
    EXPECT_TRUE(QTest::qWaitFor([&] { return reached.isVisible(); }, 6000));
    EXPECT_TRUE(reached.text().startsWith("reached ")) << reached.text().toStdString();
    EXPECT_LE(reached.geometry().right(), Window->Playback->SpeedChooser->x());
    EXPECT_LE(Window->Playback->TimeReadout->geometry().right(), reached.x());
    EXPECT_TRUE(Window->Playback->TimeReadout->text().contains("step"));
    Window->Playback->PlayOrPause();
    EXPECT_FALSE(reached.isVisible());
}
