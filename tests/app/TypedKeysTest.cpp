// Keys and clicks that reach the main window through the window system, as a user gives them:
// typed faster than the replay runs, they end where the same input given slowly ends.

#include "GuiTestMain.h"
#include "MainWindowFixture.h"

#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <tuple>
#include <utility>

namespace {

const QString Ferry = TestDataDir + "/ferry.3dl"; // vmax 4; everybody has left at step 589

// Where the replay stands, as the user reads it.
struct TReplayState {
    std::int32_t Step;
    QString Time, Saved, Readout;
    bool operator==(const TReplayState&) const = default;
};

void PrintTo(const TReplayState& state, std::ostream* out) {
    *out << "step " << state.Step << ", " << state.Time.toStdString() << ", "
         << state.Saved.toStdString() << ", " << state.Readout.toStdString();
}

class TypedKeys : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ShowAndWait();
        Load(Ferry);
        Xdotool({"windowfocus", "--sync", QString::number(Window->winId())});
    }

    TReplayState Now() const {
        return {Window->Projects->Replay.TimeStep(), Window->Status->TimePanel->text(),
                Window->Status->SavedPanel->text(), Window->Playback->TimeReadout->text()};
    }

    // Runs xdotool on the window and waits until the window has carried out what it sent.
    void Xdotool(const QStringList& arguments) {
        QProcess xdotool;
        xdotool.start("xdotool", arguments);
        ASSERT_TRUE(xdotool.waitForStarted());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 60000));
        ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
        WaitUntilIdle();
    }

    // The input arrives some time after xdotool has sent it; then the replay runs what it gave.
    void WaitUntilIdle() {
        for (int quiet = 0; quiet < 3;) {
            QTest::qWait(100);
            quiet = Window->Playback->ReplayCommands.Running() ? 0 : quiet + 1;
        }
    }

    // Each key once the replay has carried out the one before: typed slowly.
    TReplayState TypedSlowly(const QStringList& keys) {
        Restart();
        for (const QString& key : keys) {
            Xdotool({"key", key});
        }
        return Now();
    }

    // All keys 30 ms apart.
    TReplayState TypedFast(const QStringList& keys) {
        Restart();
        Xdotool(QStringList{"key", "--delay", "30"} + keys);
        return Now();
    }

    void Restart() {
        Window->Action(TCommand::ResetToStart)->trigger();
        Window->View->setFocus();
    }

    // The screen point of the slider's groove at the given second.
    QPoint SliderPoint(int second) const {
        const QSlider* slider = Window->Playback->TimeSlider;
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.orientation = Qt::Horizontal;
        const QRect groove = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderGroove, slider);
        const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderHandle, slider);
        const int span = groove.width() - handle.width();
        const int x = QStyle::sliderPositionFromValue(option.minimum, option.maximum, second, span);
        return slider->mapToGlobal(
            QPoint{groove.x() + handle.width() / 2 + x, slider->height() / 2});
    }

    // xdotool's words for a click on the slider at the given second.
    QStringList SliderClick(int second) const { return ClickAt(SliderPoint(second)); }

    static QStringList ClickAt(QPoint point) {
        return {"mousemove", QString::number(point.x()), QString::number(point.y()), "click", "1"};
    }
};

// 4 and 3 are a second forwards and back, 1 and Home the start, End the end, Shift+4 and Shift+3
// single time steps.
TEST_F(TypedKeys, KeysTypedFastEndWhereTheSameKeysTypedSlowlyEnd) {
    const struct {
        QStringList Keys;
        std::int32_t Step;
    } cases[] = {
        {{"4", "4", "End"}, 592},
        {{"4", "4", "4", "Home", "4"}, 4},
        {{"4", "4", "1", "4"}, 4},
        {{"4", "End", "3"}, 588},
        {{"shift+4", "4", "4", "3", "shift+3"}, 4},
        {{"End", "shift+3", "shift+3", "4", "shift+4", "shift+4", "shift+4"}, 592},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Keys.join(' ').toStdString());
        const TReplayState slowly = TypedSlowly(c.Keys);
        EXPECT_EQ(slowly.Step, c.Step);
        EXPECT_EQ(TypedFast(c.Keys), slowly);
    }
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "2:28 / 2:28, step 592");
}

// The switches of what is drawn over the persons and the camera keys, among keys that move the
// replay: typed fast, the window ends showing the same picture as typed slowly.
TEST_F(TypedKeys, OverlayAndCameraKeysAmongReplayKeysEndAsTypedSlowly) {
    const QStringList keys{"4", "c", "4", "t", "shift+4", "z", "3", "r", "z"};
    const auto typed = [&](bool fast) {
        Window->View->ResetView();
        fast ? (void)TypedFast(keys) : (void)TypedSlowly(keys);
        WaitUntilIdle();
        const QImage frame = Window->View->DrawnFrame();
        EXPECT_TRUE(Window->Action(TCommand::ColourByWaiting)->isChecked());
        EXPECT_TRUE(Window->Action(TCommand::Trails)->isChecked());
        Window->Action(TCommand::ColourByWaiting)->trigger(); // off again for the next run
        Window->Action(TCommand::Trails)->trigger();
        return std::pair{Window->Projects->Replay.TimeStep(), frame};
    };
    const auto slowly = typed(false);
    const auto fast = typed(true);
    EXPECT_EQ(fast.first, slowly.first);
    EXPECT_TRUE(fast.second == slowly.second) << "the same picture";
}

// Find, Follow and a deck key among keys that move the replay: typed fast, the same person ends
// followed on the same deck at the same place as typed slowly.
TEST_F(TypedKeys, SelectionKeysAmongReplayKeysEndAsTypedSlowly) {
    const QStringList keys{"ctrl+f", "f", "4", "4", "w", "4", "f", "shift+4", "4"};
    const auto typed = [&](bool fast) {
        Window->View->ResetView();
        Window->ViewCommands->ShowDeck(0);
        Ui.NumberAnswers = {250};
        fast ? (void)TypedFast(keys) : (void)TypedSlowly(keys);
        WaitUntilIdle();
        EXPECT_EQ(Window->Selection->Selected(), 249U);
        EXPECT_TRUE(Window->Action(TCommand::FollowSelected)->isChecked());
        const auto state =
            std::tuple{Window->Projects->Replay.TimeStep(), Window->View->DeckIndex(),
                       Window->View->CameraState().FPan, Window->View->DrawnFrame()};
        Window->Action(TCommand::ClearSelection)->trigger(); // for the next run
        return state;
    };
    const auto slowly = typed(false);
    const auto fast = typed(true);
    EXPECT_EQ(std::get<0>(fast), 17);
    EXPECT_EQ(std::get<0>(fast), std::get<0>(slowly));
    EXPECT_EQ(std::get<1>(fast), std::get<1>(slowly));
    EXPECT_EQ(std::get<2>(fast), std::get<2>(slowly));
    EXPECT_TRUE(std::get<3>(fast) == std::get<3>(slowly)) << "the same picture";
}

// A click on the slider between two keys is carried out between them.
TEST_F(TypedKeys, ASliderClickAmongKeysIsCarriedOutInItsTurn) {
    Restart();
    Xdotool(QStringList{"key", "--delay", "30", "4", "4"} + SliderClick(100) +
            QStringList{"key", "--delay", "30", "4", "shift+4"});
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 405);
    EXPECT_EQ(Window->Playback->TimeReadout->text(), "1:41 / 2:28, step 405");
}

// After a speed is chosen in its field, or the field is left with Escape, the replay's keys work
// again at once.
TEST_F(TypedKeys, TheSpeedFieldGivesTheKeysBackToTheView) {
    QComboBox* chooser = Window->Playback->SpeedChooser;
    QLineEdit* field = chooser->lineEdit();
    const QStringList clickIntoField = ClickAt(field->mapToGlobal(field->rect().center()));
    Restart();
    // From the list: 10x is the item below the 5x in use.
    Xdotool(ClickAt(chooser->mapToGlobal(QPoint{chooser->width() - 6, chooser->height() / 2})));
    Xdotool({"key", "Down", "Return", "4"});
    EXPECT_EQ(chooser->currentText(), "10x");
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 4);
    // Typed and confirmed.
    Xdotool(clickIntoField);
    EXPECT_TRUE(field->hasFocus());
    Xdotool({"key", "ctrl+a", "2", "0", "Return", "4"});
    EXPECT_EQ(chooser->currentText(), "20x");
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 8);

    Xdotool(clickIntoField);
    Xdotool({"key", "ctrl+a", "7", "Escape", "4"});
    EXPECT_EQ(chooser->currentText(), "20x") << "Escape keeps the speed in use";
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 12);

    // A text that is no speed says why, and the speed in use stays.
    Xdotool(clickIntoField);
    Xdotool({"key", "ctrl+a", "5", "0", "0", "0", "Return"});
    EXPECT_EQ(chooser->currentText(), "20x");
    EXPECT_EQ(Window->Status->MessagePanel->text(),
              "\"5000\" is not a speed: type a whole number from 1 to 1000, such as 20 or 20x.");
    EXPECT_FALSE(field->hasFocus());

    // A click on the view takes the keys back from the field.
    Xdotool(clickIntoField);
    Xdotool(ClickAt(Window->View->mapToGlobal(QPoint{Window->View->width() / 2, 20})));
    Xdotool({"key", "4"});
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 16);
}

// The view shows its frames in a native window of its own: a drag and the wheel there, as the
// window system gives them, reach the camera, and the view takes the keyboard focus as a widget
// would.
TEST_F(TypedKeys, ADragAndTheWheelInTheViewMoveTheCamera) {
    Window->Playback->SpeedChooser->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Window->View->hasFocus(); }));
    const double theta = Window->View->CameraState().FTheta;
    const QPoint from = Window->View->mapToGlobal(Window->View->rect().center());
    const auto at = [](QPoint point) {
        return QStringList{"mousemove", QString::number(point.x()), QString::number(point.y())};
    };
    Xdotool(at(from) + QStringList{"mousedown", "1"} + at(from + QPoint(30, 20)) +
            at(from + QPoint(60, 40)) + QStringList{"mouseup", "1"});
    EXPECT_NE(Window->View->CameraState().FTheta, theta);
    EXPECT_EQ(Window->Selection->Selected(), std::nullopt);
    EXPECT_TRUE(Window->View->hasFocus());
    const double distance = Window->View->Distance();
    Xdotool(at(from) + QStringList{"click", "5"});
    EXPECT_NE(Window->View->Distance(), distance);
}

// A click into the view of a window that is not the active one makes it active, and the keys
// typed then reach the replay, as a click on any widget does: Xvfb has no window manager to do it.
TEST_F(TypedKeys, AClickIntoTheViewOfAnInactiveWindowTakesTheKeys) {
    Restart();
    QWidget other;
    other.setGeometry(Window->geometry().right() + 20, 0, 100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    Xdotool({"windowfocus", "--sync", QString::number(other.winId())});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Window->isActiveWindow(); }));
    Xdotool(ClickAt(Window->View->mapToGlobal(Window->View->rect().center())));
    Xdotool({"key", "--delay", "30", "4", "4"});
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 8);
    EXPECT_TRUE(Window->isActiveWindow());
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
