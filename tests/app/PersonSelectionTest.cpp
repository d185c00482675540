// One person picked in the main window: by a click, by its number, as the last to leave; its
// Person window, and the camera that follows it from deck to deck.

#include "GuiTestMain.h"
#include "MainWindowFixture.h"
#include "PersonPanel.h"
#include "StatusPanels.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

#include <algorithm>

namespace {

// Two decks of 20 x 20 cells. Person 1 starts on cell (4, 10) of the lower deck, walks east four
// cells, goes a deck up on the spot and walks north four cells; person 2 stands 30 steps on cell
// (12, 10) of the lower deck. Four steps a second.
std::string TwoDeckProject() {
    std::string text = "<header>\npmax 2\nxmax 20\nymax 20\nzmax 2\nvmax 4\ntoff 0\nversion 1\n"
                       "</header>\n";
    for (const std::string deck : {"0", "1"}) {
        text += "<deck>\ncaption " + std::string(deck == "0" ? "Lower" : "Upper") + "\nlevel " +
                deck + "\n(celldata)\n";
        for (int row = 0; row < 20; ++row) {
            text += "P20x0\n";
        }
        text += "</deck>\n";
    }
    return text + "<persons>\n<startpositions>\n4 10 0 1 0\n12 10 0 1 0\n(movement)\n"
                  "P4x3 U0 P4x1 S\nP30x0 S\n</persons>\n";
}

class PersonSelection : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ShowAndWait();
        Load(WriteProject(TwoDeckProject()));
    }

    // Where the view shows the middle of a prism standing on the deck point (x, y).
    QPoint PrismPoint(double x, double y) const {
        const TDeckView& view = *Window->View;
        const double aspect = static_cast<double>(view.width()) / view.height();
        const auto seen = ProjectedPoint(view.CameraState(), aspect, {x, y, 3.0});
        EXPECT_TRUE(seen.has_value());
        return seen ? QPoint(static_cast<int>((1.0 + (*seen)[0]) * view.width() / 2),
                             static_cast<int>((1.0 - (*seen)[1]) * view.height() / 2))
                    : QPoint();
    }
    void ClickAt(QPoint point) { QTest::mouseClick(Window->View, Qt::LeftButton, {}, point); }
    void PressInView(Qt::Key key) {
        Window->activateWindow();
        Window->View->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Window->View->hasFocus(); }));
        QTest::keyClick(Window->View, key);
    }
    std::optional<std::size_t> Selected() const { return Window->Selection->Selected(); }
    QString PanelText() const { return Window->Selection->PanelWindow().Facts->text(); }
    // The point of the deck in the centre of the view.
    std::array<double, 2> Centre() const {
        const std::array<double, 2>& pan = Window->View->CameraState().FPan;
        return {-pan[0], -pan[1]};
    }
};

// A click on a prism selects its person and shows the Person window; a drag orbits and selects
// nobody; a click on the floor clears, and so does Escape, except in the speed field, which
// Escape only leaves.
TEST_F(PersonSelection, AClickPicksAPersonAndTheFloorOrEscapeClears) {
    ClickAt(PrismPoint(2.5, -0.5)); // person 2 on cell (12, 10)
    EXPECT_EQ(Selected(), 1U);
    EXPECT_TRUE(Window->Selection->PanelWindow().isVisible());
    EXPECT_TRUE(PanelText().startsWith("Person 2 of 2\nStart: Lower, cell 12, 10"))
        << PanelText().toStdString();
    ClickAt(PrismPoint(-5.5, -0.5)); // person 1 on cell (4, 10)
    EXPECT_EQ(Selected(), 0U);
    ClickAt(PrismPoint(-5.5, 7.5));
    EXPECT_EQ(Selected(), std::nullopt);
    EXPECT_FALSE(Window->Selection->PanelWindow().isVisible());

    const QPoint person = PrismPoint(2.5, -0.5);
    const double theta = Window->View->CameraState().FTheta;
    QTest::mousePress(Window->View, Qt::LeftButton, {}, person);
    QTest::mouseMove(Window->View, person + QPoint(40, 30));
    QTest::mouseRelease(Window->View, Qt::LeftButton, {}, person + QPoint(40, 30));
    EXPECT_EQ(Selected(), std::nullopt) << "a drag orbits";
    EXPECT_NE(Window->View->CameraState().FTheta, theta);

    Window->Action(TCommand::ResetView)->trigger();
    ClickAt(PrismPoint(2.5, -0.5));
    ASSERT_EQ(Selected(), 1U);
    QComboBox* speed = Window->Playback->SpeedChooser;
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    speed->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return speed->hasFocus(); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(Selected(), 1U) << "Escape only left the speed field";
    EXPECT_TRUE(Window->View->hasFocus());
    PressInView(Qt::Key_Escape);
    EXPECT_EQ(Selected(), std::nullopt);
}

// Find person asks a number and shows that person in the middle of its deck; Follow goes with it
// up the stair to the other deck; the user's choice of a deck ends Follow. The selection stays
// through steps and a reset, with the Person window saying what it did, and the next load ends it.
TEST_F(PersonSelection, FindAndFollowGoWithThePersonFromDeckToDeck) {
    Ui.NumberAnswers = {1};
    Window->Action(TCommand::FindPerson)->trigger();
    ASSERT_EQ(Selected(), 0U);
    EXPECT_EQ(Ui.NumberPrompts, std::vector<std::string>{"Person number (1 to 2): 1..2"});
    EXPECT_EQ(Centre(), (std::array{-5.5, -0.5}));
    EXPECT_EQ(Window->View->DeckIndex(), 0);

    PressInView(Qt::Key_F);
    EXPECT_TRUE(Window->Action(TCommand::FollowSelected)->isChecked());
    Window->Playback->SecondForward(); // four steps east
    EXPECT_EQ(Centre(), (std::array{-1.5, -0.5}));
    Window->Playback->StepForward(); // the deck up
    EXPECT_EQ(Window->View->DeckIndex(), 1);
    EXPECT_EQ(Window->Tools->DeckChooser->currentText(), "Upper");
    Window->Playback->StepForward();
    EXPECT_EQ(Centre(), (std::array{-1.5, 0.5}));
    EXPECT_TRUE(PanelText().contains("Now: Upper, cell 8, 9\nSteps walked: 5\n"))
        << PanelText().toStdString();

    Window->Action(TCommand::DeckDown)->trigger();
    EXPECT_FALSE(Window->Action(TCommand::FollowSelected)->isChecked());
    Window->Playback->SecondForward();
    EXPECT_EQ(Window->View->DeckIndex(), 0) << "no longer followed";
    EXPECT_TRUE(PanelText().contains("Left at 0:02")) << PanelText().toStdString();
    Window->Action(TCommand::ResetToStart)->trigger();
    EXPECT_EQ(Selected(), 0U);

    Window->Action(TCommand::LastToLeave)->trigger();
    EXPECT_EQ(Selected(), 1U);
    EXPECT_TRUE(PanelText().contains("Leaves at 0:07 (step 31); 1 left before"))
        << PanelText().toStdString();
    Load(WriteProject(TwoDeckProject()));
    EXPECT_EQ(Selected(), std::nullopt);
}

// Find on a person who has left shows the deck it left from with the camera on the cell it left
// from, marked, and the status bar says when and from which deck; a person still on a deck is
// found without a word.
TEST_F(PersonSelection, FindOnAPersonWhoHasLeftShowsWhereItLeftFrom) {
    Window->Playback->SecondForward();
    Window->Playback->SecondForward();
    Window->Playback->SecondForward(); // step 12: person 1 left at step 10
    Ui.NumberAnswers = {1, 2};
    Window->Action(TCommand::FindPerson)->trigger();
    ASSERT_EQ(Selected(), 0U);
    EXPECT_EQ(Window->Tools->DeckChooser->currentText(), "Upper");
    EXPECT_EQ(Window->View->DeckIndex(), 1);
    EXPECT_EQ(Centre(), (std::array{-1.5, 3.5})) << "cell (8, 6), the end of its way";
    EXPECT_EQ(Window->Status->MessagePanel->text(), "Person 1 left at 0:02 from Upper");
    Window->View->Paint();
    const QImage frame = Frame();
    const QPoint mark = PrismPoint(-1.2, 3.8) * frame.devicePixelRatio();
    const QColor seen = frame.pixelColor(mark);
    EXPECT_LT(seen.red(), 20) << "the selected prism, cyan";
    EXPECT_GT(std::min(seen.green(), seen.blue()), 235) << "the selected prism, cyan";

    Window->Action(TCommand::FindPerson)->trigger();
    ASSERT_EQ(Selected(), 1U);
    EXPECT_EQ(Window->Tools->DeckChooser->currentText(), "Lower");
    EXPECT_EQ(Window->Status->MessagePanel->text(), "");
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
