// The cell view drawn for real (Xvfb, Mesa) and read back pixel by pixel.

#include "DeckView.h"
#include "GuiTestMain.h"
#include "LogFile.h"
#include "PixelCheck.h"
#include "RecordingUiServices.h"
#include "SmallDeck.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class CellView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Project.LoadFromMemory("deck", SmallDeck, Progress));
        View = std::make_unique<TDeckView>(nullptr);
        View->resize(400, 300);
        View->ShowProject(Project);
        View->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    }

    QImage Frame() { return View->grabFramebuffer(); }

    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TNoProgressWindow Progress;
    TLogFile Project{"Level"};
    std::unique_ptr<TDeckView> View;
};

// Points of the 400 x 300 frame, seen straight from above: a corner outside the deck, open floor,
// the top of the obstacle box, the body of the person, and the look-at point.
constexpr QPoint Outside{2, 298};
constexpr QPoint Floor{100, 200};
constexpr QPoint ObstacleTop{345, 225};
constexpr QPoint PersonBody{60, 50};
constexpr QPoint Centre{200, 150};

TEST_F(CellView, DrawsBackgroundFloorObstacleAndPerson) {
    const QImage frame = Frame();
    EXPECT_TRUE(IsBackground(PixelAt(frame, Outside)));
    EXPECT_TRUE(IsGrey(PixelAt(frame, Floor), 100, 255)); // white floor, lit
    EXPECT_TRUE(IsGrey(PixelAt(frame, ObstacleTop), 10, 80));
    EXPECT_TRUE(IsGreen(PixelAt(frame, PersonBody)));
    EXPECT_TRUE(IsGreen(PixelAt(frame, Centre))); // the origin marker
}

TEST_F(CellView, OriginMarkerGoesAndComesBack) {
    View->ToggleOrigin();
    EXPECT_FALSE(View->ShowOrigin());
    EXPECT_TRUE(IsGrey(PixelAt(Frame(), Centre), 100, 255));
    View->ToggleOrigin();
    EXPECT_TRUE(IsGreen(PixelAt(Frame(), Centre)));
}

TEST_F(CellView, ShowsOnlyThePersonsAndQuadsOfTheSelectedDeck) {
    for (const int outOfRange : {-1, 2}) {
        View->SelectDeck(outOfRange);
        EXPECT_EQ(View->DeckIndex(), 0);
    }
    View->SelectDeck(1);
    const QImage upper = Frame();
    EXPECT_TRUE(IsBackground(PixelAt(upper, PersonBody)));
    EXPECT_TRUE(IsGrey(PixelAt(upper, ObstacleTop), 100, 255));
    View->SelectDeck(0);
    EXPECT_TRUE(IsGreen(PixelAt(Frame(), PersonBody)));
}

// The deck is kept on the graphics side: it must go with the project and come back with the next.
TEST_F(CellView, ADeckClearedIsNoLongerDrawnAndComesBackWhenShownAgain) {
    View->ClearProject();
    const QImage cleared = Frame();
    EXPECT_TRUE(IsBackground(PixelAt(cleared, Floor)));
    EXPECT_TRUE(IsBackground(PixelAt(cleared, PersonBody)));
    View->ShowProject(Project);
    const QImage shown = Frame();
    EXPECT_TRUE(IsGrey(PixelAt(shown, Floor), 100, 255));
    EXPECT_TRUE(IsGreen(PixelAt(shown, PersonBody)));
}

TEST_F(CellView, APersonWhoHasLeftIsNotDrawn) {
    TPersonData& person = Project.Persons[0];
    ASSERT_TRUE(person.IsStepMoved(0));
    EXPECT_TRUE(IsGreen(PixelAt(Frame(), PersonBody)));
    ASSERT_FALSE(person.IsStepMoved(1));
    EXPECT_TRUE(IsBackground(PixelAt(Frame(), PersonBody)));
}

TEST_F(CellView, ABadHeadingIsReportedOnceAndThePersonDrawnUnturned) {
    const QSignalSpy found(View.get(), &TDeckView::BadHeadingFound);
    Project.Persons[0].Heading = 9;
    Frame();
    Frame();
    EXPECT_EQ(found.count(), 1);
    EXPECT_TRUE(Ui.Messages.empty()) << "the view tells; it shows no box itself";
    EXPECT_TRUE(IsGreen(PixelAt(Frame(), PersonBody)));
}

// The batched way of drawing persons, the default, must give the picture the display lists give.
TEST_F(CellView, PersonsDrawnAsOneBatchLookTheSame) {
    const QImage batch = Frame();
    View->SetPersonsBatched(false);
    const QImage lists = Frame();
    ASSERT_EQ(lists.size(), batch.size());
    int differing = 0;
    for (int y = 0; y < lists.height(); ++y) {
        for (int x = 0; x < lists.width(); ++x) {
            const TRgb a = PixelAt(lists, {x, y});
            const TRgb b = PixelAt(batch, {x, y});
            differing += (std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B) > 24);
        }
    }
    // Edges may rasterise a pixel apart where the sides are split into triangles.
    EXPECT_LT(differing, lists.width() * lists.height() / 200);
    EXPECT_TRUE(IsGreen(PixelAt(batch, PersonBody)));
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
