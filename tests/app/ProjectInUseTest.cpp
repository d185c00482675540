// A close or a load that arrives while a command still uses the project (it lets pending
// messages run between its steps) must wait until that command has finished: the command goes
// on with the project it started with, and the close or load is carried out afterwards.

#include "MainWindowFixture.h"
#include "ProgramSettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <functional>
#include <vector>

namespace {

const QString Small = SamplesDir + "/small.3dl"; // 5 persons, vmax 4

// Notes the time step at which each close reaches the main window.
class TCloseWatcher final : public QObject {
public:
    explicit TCloseWatcher(TMainWindowProbe& window) : Window(window) {
        Window.installEventFilter(this);
    }
    std::vector<std::int32_t> Steps;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            Steps.push_back(Window.Projects->Replay.TimeStep());
        }
        return false;
    }

private:
    TMainWindowProbe& Window;
};

class ProjectInUse : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ShowAndWait();
        Load(Small);
        Window->Playback->MaxAnimationSpeed = 9; // what the close must still write
    }

    // As the window manager asks (Alt+F4): a close event for the window, handled when
    // messages are next processed.
    void PostWindowClose() const {
        QCoreApplication::postEvent(Window->windowHandle(), new QCloseEvent());
    }

    // Runs command with a close waiting; the close must reach the window at step closeStep,
    // inside the command, and be carried out only once the command has ended at endStep.
    void ExpectCloseWaitsFor(const std::function<void()>& command, std::int32_t closeStep,
                             std::int32_t endStep) {
        TCloseWatcher watcher(*Window);
        PostWindowClose();
        command();
        EXPECT_EQ(watcher.Steps, std::vector<std::int32_t>{closeStep});
        EXPECT_EQ(Window->Projects->Replay.TimeStep(), endStep) << "the command went on to its end";
        EXPECT_TRUE(Window->isVisible());
        ASSERT_NE(Window->Projects->LogFile, nullptr);

        EXPECT_TRUE(QTest::qWaitFor([&] { return !Window->isVisible(); }));
        EXPECT_EQ(Window->Projects->LogFile, nullptr);
        EXPECT_EQ(TSettingsStore().ReadInteger(TProgramSettings::KeyPath(), "MaxAnimationSpeed"),
                  9);
    }
};

TEST_F(ProjectInUse, CloseInsideASecondForwardsWaitsForIt) {
    ExpectCloseWaitsFor([&] { Window->Playback->SecondForward(); }, 1, 4);
}

TEST_F(ProjectInUse, CloseInsideASecondBackwardsWaitsForIt) {
    Window->Playback->SecondForward();
    Window->Playback->SecondForward();
    ExpectCloseWaitsFor([&] { Window->Playback->SecondBackward(); }, 7, 4);
}

TEST_F(ProjectInUse, CloseInsideATimerTickWaitsForIt) {
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    Window->Playback->PlayOrPause();
    ExpectCloseWaitsFor([&] { Window->Playback->PlaybackTimerFired(); }, 1, 1);
    EXPECT_FALSE(Window->Playback->AnimationTimer->isActive());
}

TEST_F(ProjectInUse, CloseInsideThePauseThatPlaysOnWaitsForIt) {
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    Window->Playback->PlayOrPause();
    Window->Playback->PlaybackTimerFired();
    Window->Playback->PlaybackTimerFired();
    ExpectCloseWaitsFor([&] { Window->Playback->PlayOrPause(); }, 3, 4);
}

TEST_F(ProjectInUse, LoadInsideASecondForwardsWaitsForItAndTheLastChoiceWins) {
    const QString first = WriteProject(FloorProject(4, 2, 0, {{1, 1, "3 3 S"}}));
    const QString last = WriteProject(FloorProject(6, 1, 0, {{2, 2, "S"}, {3, 3, "S"}}));
    Ui.FileAnswers = {first.toStdString(), last.toStdString()};
    const TLogFile* playing = Window->Projects->LogFile.get();
    // Two loads chosen in a row while the second goes on, as from Ctrl+L pressed twice.
    for (int i = 0; i < 2; ++i) {
        QMetaObject::invokeMethod(Window->Action(TCommand::OpenLogFile), &QAction::trigger,
                                  Qt::QueuedConnection);
    }
    Window->Playback->SecondForward();
    EXPECT_EQ(Ui.FileDialogs.size(), 2U) << "both were chosen inside the command";
    EXPECT_EQ(Window->Projects->LogFile.get(), playing);
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 4);

    EXPECT_TRUE(QTest::qWaitFor([&] { return Window->Projects->LogFile->PMax == 2; }));
    EXPECT_EQ(Window->Projects->LogFile->FileName, last.toStdString());
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0);
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer, " + last);
    EXPECT_EQ(Window->Projects->RecentFiles.Path(0), last);
    EXPECT_TRUE(Window->Tools->OpenButton->isEnabled());
}

TEST_F(ProjectInUse, CloseAfterALoadInsideAStepDropsTheLoad) {
    Ui.FileAnswers = {Small.toStdString()};
    QMetaObject::invokeMethod(Window->Action(TCommand::OpenLogFile), &QAction::trigger,
                              Qt::QueuedConnection);
    PostWindowClose();
    const TLogFile* playing = Window->Projects->LogFile.get();
    Window->Playback->SecondForward();
    EXPECT_EQ(Window->Projects->LogFile.get(), playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Window->isVisible(); }));
    QTest::qWait(20);
    EXPECT_EQ(Window->Projects->LogFile, nullptr) << "nothing is loaded into a closed window";
}

} // namespace
