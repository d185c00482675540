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
    explicit TCloseWatcher(TMainWindowProbe& form) : Form(form) { Form.installEventFilter(this); }
    std::vector<std::int32_t> Steps;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            Steps.push_back(Form.Projects->Replay.TimeStep());
        }
        return false;
    }

private:
    TMainWindowProbe& Form;
};

class ProjectInUse : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ShowAndWait();
        Load(Small);
        Form->Playback->MaxAnimationSpeed = 9; // what the close must still write
    }

    // As the window manager asks (Alt+F4): a close event for the window, handled when
    // messages are next processed.
    void PostWindowClose() const {
        QCoreApplication::postEvent(Form->windowHandle(), new QCloseEvent());
    }

    // Runs command with a close waiting; the close must reach the window at step closeStep,
    // inside the command, and be carried out only once the command has ended at endStep.
    void ExpectCloseWaitsFor(const std::function<void()>& command, std::int32_t closeStep,
                             std::int32_t endStep) {
        TCloseWatcher watcher(*Form);
        PostWindowClose();
        command();
        EXPECT_EQ(watcher.Steps, std::vector<std::int32_t>{closeStep});
        EXPECT_EQ(Form->Projects->Replay.TimeStep(), endStep) << "the command went on to its end";
        EXPECT_TRUE(Form->isVisible());
        ASSERT_NE(Form->Projects->LogFile, nullptr);

        EXPECT_TRUE(QTest::qWaitFor([&] { return !Form->isVisible(); }));
        EXPECT_EQ(Form->Projects->LogFile, nullptr);
        EXPECT_EQ(TSettingsStore().ReadInteger(TProgramSettings::KeyPath(), "MaxAnimationSpeed"),
                  9);
    }
};

TEST_F(ProjectInUse, CloseInsideASecondForwardsWaitsForIt) {
    ExpectCloseWaitsFor([&] { Form->Playback->SecondForward(); }, 1, 4);
}

TEST_F(ProjectInUse, CloseInsideASecondBackwardsWaitsForIt) {
    Form->Playback->SecondForward();
    Form->Playback->SecondForward();
    ExpectCloseWaitsFor([&] { Form->Playback->SecondBackward(); }, 7, 4);
}

TEST_F(ProjectInUse, CloseInsideATimerTickWaitsForIt) {
    const QSignalBlocker noRealTicks(Form->Playback->AnimationTimer);
    Form->Playback->PlayOrPause();
    ExpectCloseWaitsFor([&] { Form->Playback->PlaybackTimerFired(); }, 1, 1);
    EXPECT_FALSE(Form->Playback->AnimationTimer->isActive());
}

TEST_F(ProjectInUse, CloseInsideThePauseThatPlaysOnWaitsForIt) {
    const QSignalBlocker noRealTicks(Form->Playback->AnimationTimer);
    Form->Playback->PlayOrPause();
    Form->Playback->PlaybackTimerFired();
    Form->Playback->PlaybackTimerFired();
    ExpectCloseWaitsFor([&] { Form->Playback->PlayOrPause(); }, 3, 4);
}

TEST_F(ProjectInUse, LoadInsideASecondForwardsWaitsForItAndTheLastChoiceWins) {
    const QString first = WriteProject(FloorProject(4, 2, 0, {{1, 1, "3 3 S"}}));
    const QString last = WriteProject(FloorProject(6, 1, 0, {{2, 2, "S"}, {3, 3, "S"}}));
    Ui.FileAnswers = {first.toStdString(), last.toStdString()};
    const TLogFile* playing = Form->Projects->LogFile.get();
    // Two loads chosen in a row while the second goes on, as from Ctrl+L pressed twice.
    for (int i = 0; i < 2; ++i) {
        QMetaObject::invokeMethod(Form->Action(TCommand::OpenLogFile), &QAction::trigger,
                                  Qt::QueuedConnection);
    }
    Form->Playback->SecondForward();
    EXPECT_EQ(Ui.FileDialogs.size(), 2U) << "both were chosen inside the command";
    EXPECT_EQ(Form->Projects->LogFile.get(), playing);
    EXPECT_EQ(Form->Projects->Replay.TimeStep(), 4);

    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->Projects->LogFile->PMax == 2; }));
    EXPECT_EQ(Form->Projects->LogFile->FileName, last.toStdString());
    EXPECT_EQ(Form->Projects->Replay.TimeStep(), 0);
    EXPECT_EQ(Form->windowTitle(), "Ambla Viewer, " + last);
    EXPECT_EQ(Form->Projects->RecentFiles.Path(0), last);
    EXPECT_TRUE(Form->Tools->OpenButton->isEnabled());
}

TEST_F(ProjectInUse, CloseAfterALoadInsideAStepDropsTheLoad) {
    Ui.FileAnswers = {Small.toStdString()};
    QMetaObject::invokeMethod(Form->Action(TCommand::OpenLogFile), &QAction::trigger,
                              Qt::QueuedConnection);
    PostWindowClose();
    const TLogFile* playing = Form->Projects->LogFile.get();
    Form->Playback->SecondForward();
    EXPECT_EQ(Form->Projects->LogFile.get(), playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Form->isVisible(); }));
    QTest::qWait(20);
    EXPECT_EQ(Form->Projects->LogFile, nullptr) << "nothing is loaded into a closed window";
}

} // namespace
