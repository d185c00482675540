// The cell view drawn for real (Xvfb, Mesa) and read back pixel by pixel.

#include "DeckView.h"
#include "GuiTestMain.h"
#include "LogFile.h"
#include "PixelCheck.h"
#include "RecordingUiServices.h"
#include "SmallDeck.h"

#include <QApplication>
#include <QImage>
#include <QRect>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CellView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Project.LoadFromMemory("deck", SmallDeck, Progress));
        View = std::make_unique<TDeckView>(nullptr);
        View->resize(400, 300);
        View->ShowProject(Project);
        View->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return View->HasFrame(); }));
    }

    QImage Frame() { return View->DrawnFrame(); }

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

// The part of the frame where anything but the background is drawn.
QRect DrawnPart(const QImage& frame) {
    QRect drawn;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (!IsBackground(PixelAt(frame, {x, y}))) {
                drawn |= QRect(x, y, 1, 1);
            }
        }
    }
    return drawn;
}

// Fitted from above, obliquely, or from where the camera was turned, a deck of 60 x 36 cells with
// walls lies whole in the frame and spans 90 % of its width or height; level with the floor only
// the walls stand out, still inside. Reset view gives back the frame after the load.
TEST_F(CellView, FittedViewsShowTheWholeDeckAndResetGivesBackTheFirstFrame) {
    std::string rows;
    for (int y = 0; y < 36; ++y) {
        rows += y == 0 || y == 35 ? "P60x1\n" : "1 P58x0 1\n";
    }
    ASSERT_TRUE(Project.LoadFromMemory(
        "walled",
        "<header> pmax 0 xmax 60 ymax 36 zmax 1 vmax 1 </header>\n<deck> level 0 (celldata)\n" +
            rows + "</deck>\n",
        Progress));
    View->ShowProject(Project);
    View->ToggleOrigin(); // the marker stands at the look-at point, not on the deck
    const QImage loaded = Frame();
    const auto fits = [this](const QRect& drawn) {
        return QRect(1, 1, View->width() - 2, View->height() - 2).contains(drawn) &&
               (drawn.width() >= 0.9 * View->width() || drawn.height() >= 0.9 * View->height());
    };
    for (const TCameraPreset preset :
         {TCameraPreset::Top, TCameraPreset::Oblique, TCameraPreset::Side}) {
        View->LookFrom(preset);
        const QRect drawn = DrawnPart(Frame());
        EXPECT_TRUE(fits(drawn)) << static_cast<int>(preset) << ": " << drawn.x() << ","
                                 << drawn.y() << " " << drawn.width() << "x" << drawn.height();
    }
    View->resize(200, 300);
    View->FitDeck(); // from the side, into a narrow view
    EXPECT_TRUE(fits(DrawnPart(Frame())));
    View->resize(400, 300);
    View->ResetView();
    EXPECT_EQ(Frame(), loaded);
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
// An empty view says in its middle how to fill it.
TEST_F(CellView, ADeckClearedIsNoLongerDrawnAndComesBackWhenShownAgain) {
    // The hint is a line of light bluish text across the middle of the frame.
    const auto hintShown = [](const QImage& frame) {
        int hintPixels = 0;
        for (int x = 0; x < frame.width(); ++x) {
            for (int y = frame.height() / 2 - 10; y < frame.height() / 2 + 10; ++y) {
                const QColor pixel = frame.pixelColor(x, y);
                hintPixels += pixel.red() >= 150 && pixel.blue() - pixel.red() >= 10 ? 1 : 0;
            }
        }
        return hintPixels > 100;
    };
    EXPECT_FALSE(hintShown(Frame()));
    View->ClearProject();
    const QImage cleared = Frame();
    EXPECT_TRUE(IsBackground(PixelAt(cleared, Floor)));
    EXPECT_TRUE(IsBackground(PixelAt(cleared, PersonBody)));
    EXPECT_TRUE(hintShown(cleared));
    View->ShowProject(Project);
    const QImage shown = Frame();
    EXPECT_TRUE(IsGrey(PixelAt(shown, Floor), 100, 255));
    EXPECT_TRUE(IsGreen(PixelAt(shown, PersonBody)));
    EXPECT_FALSE(hintShown(shown));
    TLogFile deckless{"Level"};
    ASSERT_TRUE(deckless.LoadFromMemory("none", "<header> pmax 0 </header>", Progress));
    View->ShowProject(deckless);
    EXPECT_TRUE(hintShown(Frame()));
    View->ClearProject();
}

// The view shows its frames in a native window: made smaller, it draws anew at its new size though
// the window system asks for nothing.
TEST_F(CellView, AViewMadeSmallerOrLargerIsDrawnAtItsNewSize) {
    for (const QSize size : {QSize(300, 200), QSize(420, 320)}) {
        View->resize(size);
        EXPECT_TRUE(QTest::qWaitFor([&] { return View->DisplayedFrame().size() == size; }))
            << size.width() << " x " << size.height();
    }
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
// Also when each person has a colour of its own: by waiting, past the limit, the top colour.
TEST_F(CellView, PersonsDrawnAsOneBatchLookTheSame) {
    const std::vector<float> waited{40.0f};
    for (const std::vector<float>* shades :
         {static_cast<const std::vector<float>*>(nullptr), &waited}) {
        View->ShadePersonsByWaiting(shades, 30.0f);
        View->SetPersonsBatched(true);
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
        const TRgb body = PixelAt(batch, PersonBody);
        if (shades == nullptr) {
            EXPECT_TRUE(IsGreen(body));
        } else {
            // The top colour, a yellow, as lit from the side.
            EXPECT_TRUE(body.R > 80 && body.G > 80 && std::abs(body.R - body.G) < 30 && body.B < 40)
                << body.R << " " << body.G << " " << body.B;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
