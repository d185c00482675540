// The replay driven from the main window: the timer, stepping by whole seconds, pausing, the loop,
// and the status texts. Ticks are called directly; where the timer has to run, its signal is
// blocked so that only the test decides how many steps happen.

#include "GuiTestMain.h"
#include "MainWindowFixture.h"

#include <QCoreApplication>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <tuple>

namespace {

const QString Small = SamplesDir + "/small.3dl"; // 5 persons, vmax 4, toff 0

class Playback : public MainWindowFixture {
protected:
    void ExpectPaused() const {
        EXPECT_FALSE(Form->AnimationTimer->isActive());
        EXPECT_FALSE(Form->SpeedButton_PlayLoop->isChecked());
        EXPECT_NE(Panel(3), "Animation loop is running.");
    }
};

TEST_F(Playback, CommandsBeforeALoadDoNothing) {
    Form->Run1Click();
    Form->Forward1Click();
    Form->Backward1Click();
    Form->ResettoStart1Click();
    EXPECT_EQ(Form->TimeStep, 0);
    EXPECT_EQ(Panel(1), "Time: 0:00 min");
    ExpectPaused();
    // The button is down only while playing, however the command was given.
    Form->SpeedButton_PlayLoop->click();
    ExpectPaused();
}

TEST_F(Playback, TimerIntervalFollowsTheSpeedAndNeverDropsToZero) {
    Load(Small);
    // speed, interval in ms with vmax 4; a speed of 0 or less plays at the default 5.
    for (const auto& [speed, interval] :
         {std::pair{5, 50}, {3, 83}, {0, 50}, {-2, 50}, {300, 1}, {5000, 1}}) {
        Form->MaxAnimationSpeed = speed;
        Form->Run1Click();
        EXPECT_TRUE(Form->AnimationTimer->isActive()) << speed;
        EXPECT_EQ(Form->AnimationTimer->interval(), interval) << speed;
        EXPECT_TRUE(Form->SpeedButton_PlayLoop->isChecked());
        EXPECT_EQ(Panel(3), "Animation loop is running.");
        Form->Run1Click();
        ExpectPaused();
    }
}

TEST_F(Playback, WithoutTimeStepsPerSecondNothingPlays) {
    for (const int vMax : {0, -2}) {
        Load(WriteProject(FloorProject(4, vMax, 0, {{1, 1, "3 3 S"}})));
        Form->SpeedButton_PlayLoop->click();
        Form->Run1->trigger();
        Form->Run1->trigger();
        ExpectPaused();
        Form->Forward1Click();
        Form->Backward1Click();
        EXPECT_EQ(Form->TimeStep, 0) << vMax;
        EXPECT_EQ(Panel(1), "Time: 0:00 min");
        EXPECT_EQ(Form->LogFile->Persons[0].X, CellCentreX(1, 4));
    }
    EXPECT_EQ(Ui.Messages.size(), 2U) << "the reader's warning, once per file";
}

TEST_F(Playback, OneSecondForwardShowsTheTimeWithItsOffset) {
    for (const auto& [tOff, text] : {std::pair{0, "Time: 0:01 min"},
                                     {30, "Time: 0:31 min"},
                                     {3604, "Time: 60:05 min"},
                                     {-5, "Time: -0:04 min"},
                                     {-90, "Time: -1:29 min"}}) {
        Load(WriteProject(FloorProject(4, 4, tOff, {{0, 0, "P20x0 S"}})));
        EXPECT_EQ(Panel(1), "Time: 0:00 min") << "the offset counts from the first step on";
        Form->Forward1Click();
        EXPECT_EQ(Form->TimeStep, 4);
        EXPECT_EQ(Panel(1), text);
        EXPECT_EQ(Panel(2), "Saved: 0");
    }
}

TEST_F(Playback, SavedCountGetsAThousandsPoint) {
    for (const auto& [count, text] : {std::pair{999, "Saved: 999"},
                                      {1000, "Saved: 1.000"},
                                      {1005, "Saved: 1.005"},
                                      {1050, "Saved: 1.050"},
                                      {12345, "Saved: 12.345"}}) {
        // Persons without moves leave with the first step.
        Load(WriteProject(
            FloorProject(2, 1, 0, std::vector<TTestPerson>(static_cast<std::size_t>(count)))));
        Form->Forward1Click();
        EXPECT_EQ(Form->SavedCount, count);
        EXPECT_EQ(Panel(2), text);
    }
    Form->Forward1Click();
    EXPECT_EQ(Form->TimeStep, 1) << "once everybody has left, stepping forwards does nothing";
}

TEST_F(Playback, PausingPlaysOnToTheNextWholeSecond) {
    Load(Small);
    Form->StartAnimation();
    const QSignalBlocker noRealTicks(Form->AnimationTimer);
    for (int i = 0; i < 6; ++i) {
        Form->StepForward();
    }
    Form->Run1Click();
    EXPECT_EQ(Form->TimeStep, 8);
    EXPECT_EQ(Panel(1), "Time: 0:02 min");
    ExpectPaused();
}

TEST_F(Playback, StepBackPausesAndGoesBackOneWholeSecond) {
    Load(Small);
    Form->StartAnimation();
    const QSignalBlocker noRealTicks(Form->AnimationTimer);
    Form->Backward1Click();
    EXPECT_EQ(Form->TimeStep, 0);
    ExpectPaused();

    Form->StartAnimation();
    for (int i = 0; i < 10; ++i) {
        Form->StepForward();
    }
    Form->BitBtn_StepBack->click(); // plays on to 12, then one second back
    EXPECT_EQ(Form->TimeStep, 8);
    EXPECT_EQ(Panel(1), "Time: 0:02 min");
    ExpectPaused();
}

// Every person's place, deck and the saved count, as the view and the status bar show them.
using TSnapshot = std::tuple<std::vector<std::tuple<float, float, std::int32_t>>, QString>;

TEST_F(Playback, SteppingBackRetracesTheWayForward) {
    Load(Small);
    const auto snapshot = [&] {
        TSnapshot shot;
        for (const TPersonData& person : Form->LogFile->Persons) {
            std::get<0>(shot).emplace_back(person.X, person.Y, person.Level);
        }
        std::get<1>(shot) = Panel(2);
        return shot;
    };
    // 13 seconds take two persons up a deck and then out.
    std::vector<TSnapshot> forwards{snapshot()};
    for (int second = 1; second <= 13; ++second) {
        Form->Forward1Click();
        forwards.push_back(snapshot());
    }
    ASSERT_EQ(Form->SavedCount, 2);
    for (int second = 12; second >= 0; --second) {
        Form->Backward1Click();
        ASSERT_EQ(Form->TimeStep, second * 4);
        EXPECT_EQ(snapshot(), forwards[static_cast<std::size_t>(second)]) << "second " << second;
    }
}

TEST_F(Playback, TheReplayStartsOverOnceEverybodyHasLeftAndGoesOnPlaying) {
    // One step per second; the longer list ends at step 5, so everybody has left at step 6.
    Load(WriteProject(FloorProject(8, 1, 0, {{1, 1, "3 3 3 S"}, {1, 3, "3 3 3 3 3 S"}})));
    Form->StartAnimation();
    const QSignalBlocker noRealTicks(Form->AnimationTimer);
    for (int tick = 1; tick <= 5; ++tick) {
        Form->AnimationTimerTimer();
        ASSERT_EQ(Form->TimeStep, tick);
    }
    EXPECT_EQ(Panel(2), "Saved: 1");
    EXPECT_EQ(Form->LogFile->Persons[1].X, CellCentreX(6, 8));
    Form->AnimationTimerTimer();
    EXPECT_EQ(Form->TimeStep, 0);
    EXPECT_EQ(Form->SavedCount, 0);
    EXPECT_EQ(Panel(1), "Time: 0:00 min");
    EXPECT_EQ(Panel(2), "Saved: 0");
    EXPECT_EQ(Form->LogFile->Persons[1].X, CellCentreX(1, 8));
    EXPECT_EQ(Form->LogFile->Persons[1].Level, 0);
    EXPECT_TRUE(Form->AnimationTimer->isActive());
    EXPECT_TRUE(Form->SpeedButton_PlayLoop->isChecked());
    Form->AnimationTimerTimer();
    EXPECT_EQ(Form->TimeStep, 1);
}

TEST_F(Playback, WithoutPersonsEveryTickStartsOver) {
    Load(WriteProject(FloorProject(2, 1, 0, {})));
    Form->Forward1Click();
    EXPECT_EQ(Form->TimeStep, 0);
    Form->StartAnimation();
    const QSignalBlocker noRealTicks(Form->AnimationTimer);
    for (int tick = 0; tick < 3; ++tick) {
        Form->AnimationTimerTimer();
        EXPECT_EQ(Form->TimeStep, 0);
    }
    EXPECT_TRUE(Form->AnimationTimer->isActive());
}

TEST_F(Playback, ATickWhileAnotherLetsMessagesRunIsDropped) {
    Load(Small);
    // Queued now, delivered while the tick below lets pending messages run.
    QMetaObject::invokeMethod(Form.get(), &TMainForm::AnimationTimerTimer, Qt::QueuedConnection);
    Form->AnimationTimerTimer();
    QCoreApplication::processEvents(); // had the queued tick not come yet, it would step now
    EXPECT_EQ(Form->TimeStep, 1);
    EXPECT_EQ(Panel(1), "Time: 0:00 min");
    Form->AnimationTimerTimer();
    EXPECT_EQ(Form->TimeStep, 2);
}

TEST_F(Playback, ATickIsDroppedAlsoAfterAPauseAndPlayWithinAnotherTick) {
    Load(Small);
    Form->StartAnimation();
    const QSignalBlocker noRealTicks(Form->AnimationTimer);
    // While the tick below lets messages run, the user pauses (which plays on to step 4) and
    // plays again, and then the timer fires.
    QMetaObject::invokeMethod(
        Form.get(),
        [&] {
            Form->Run1Click();
            Form->Run1Click();
            QMetaObject::invokeMethod(Form.get(), &TMainForm::AnimationTimerTimer,
                                      Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    Form->AnimationTimerTimer();
    EXPECT_EQ(Form->TimeStep, 4);
    EXPECT_TRUE(Form->AnimationTimer->isActive());
}

TEST_F(Playback, AStepRedrawsThePersonAtItsNewCell) {
    ShowAndWait();
    // A 20 x 20 floor, and one person who walks four cells east in the first second.
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "3 3 3 3 S"}})));
    Form->ShowOriginClick(); // the marker is green too
    const double distance = Form->View->Distance();
    const QImage before = Frame();
    // Cell centres (4, 10) and (8, 10) lie at x = -5.5 and -1.5, y = -0.5. The prism stands on
    // that point, so the pixel of the floor point shows the prism whatever the perspective
    // makes of its top.
    const QPoint from = FloorPixel(before, distance, -5.5, -0.5);
    const QPoint to = FloorPixel(before, distance, -1.5, -0.5);
    ASSERT_TRUE(IsPersonGreen(PixelAt(before, from)));
    ASSERT_FALSE(IsPersonGreen(PixelAt(before, to)));
    Form->Forward1Click();
    const QImage after = Frame();
    EXPECT_FALSE(IsPersonGreen(PixelAt(after, from)));
    EXPECT_TRUE(IsPersonGreen(PixelAt(after, to)));
}

} // namespace

// The main of the whole test program, ViewCommandsTest.cpp included.
int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
