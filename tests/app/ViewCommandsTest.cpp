// The deck, zoom, origin and light commands of the main window, and what the view shows after
// them. The test program's main is in PlaybackTest.cpp.

#include "MainWindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QWheelEvent>

namespace {

const QString Ferry = SamplesDir + "/ferry.3dl"; // 3 decks of 150 x 40 cells, one light each

class ViewCommands : public MainWindowFixture {
protected:
    void ExpectDeck(std::int32_t deck) const {
        EXPECT_EQ(Form->View->DeckIndex(), deck);
        EXPECT_EQ(Form->Tools->DeckChooser->currentIndex(), 2 - deck)
            << "the chooser lists the top first";
    }

    void ExpectLights(int count) const {
        EXPECT_EQ(Form->Status->LightsPanel->text(), QString("Lights: %1").arg(count));
        EXPECT_EQ(Form->Action(TCommand::AddLight)->isEnabled(), count < DeckLightSlots);
        EXPECT_EQ(Form->Action(TCommand::RemoveLight)->isEnabled(), count > 0);
    }

    void Choose(int item) {
        Form->Tools->DeckChooser->setCurrentIndex(item);
        Form->ViewCommands->DeckChosen();
    }

    void Wheel(int delta) {
        const QPointF centre(Form->width() / 2.0, Form->height() / 2.0);
        QWheelEvent wheel(centre, Form->mapToGlobal(centre), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Form.get(), &wheel);
    }
};

TEST_F(ViewCommands, DeckUpAndDownStopAtTheTopAndTheBottom) {
    Load(Ferry);
    ExpectDeck(0);
    Form->Action(TCommand::DeckDown)->trigger();
    ExpectDeck(0);
    for (const std::int32_t deck : {1, 2, 2}) {
        Form->Action(TCommand::DeckUp)->trigger();
        ExpectDeck(deck);
    }
    Form->ViewCommands->DeckDown();
    ExpectDeck(1);
    Choose(2);
    ExpectDeck(0);
    ExpectLights(1);
}

TEST_F(ViewCommands, ChoosingADeckHandsTheKeysBackToTheView) {
    ShowAndWait();
    Load(Ferry);
    Form->activateWindow();
    Form->Tools->DeckChooser->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Tools->DeckChooser->hasFocus(); }));
    QTest::keyClick(Form->Tools->DeckChooser, Qt::Key_Up); // chooses the entry above
    ExpectDeck(1);
    ASSERT_TRUE(Form->View->hasFocus());
    QTest::keyClick(Form->View, Qt::Key_W);
    ExpectDeck(2);
    QTest::keyClick(Form->View, Qt::Key_S);
    ExpectDeck(1);
}

TEST_F(ViewCommands, LightCommandsFollowTheCountOfTheShownDeck) {
    Load(Ferry);
    ExpectLights(1);
    for (int i = 0; i < 7; ++i) {
        Form->Action(TCommand::AddLight)->trigger();
    }
    ExpectLights(DeckLightSlots);
    Form->ViewCommands->AddLightAtCentre(); // a ninth is not added, and no light is moved either
    EXPECT_EQ(Form->Projects->LogFile->Decks[0].LightCount, 8);
    Form->Action(TCommand::RemoveLight)->trigger();
    ExpectLights(7);
    Form->ViewCommands->AddLightAtCentre();
    ExpectLights(8);

    Form->ViewCommands->DeckUp();
    ExpectLights(1);
    Form->ViewCommands->RemoveNearestLight();
    ExpectLights(0);
    Form->ViewCommands->RemoveNearestLight();
    ExpectLights(0);
    Form->ViewCommands->DeckDown();
    ExpectLights(8);
    Choose(1); // deck 1 again, through the chooser
    ExpectLights(0);
    Form->ViewCommands->DeckUp();
    ExpectLights(1);
    EXPECT_EQ(Form->Projects->LogFile->Decks[0].LightCount, 8);
    EXPECT_EQ(Form->Projects->LogFile->Decks[1].LightCount, 0);
}

TEST_F(ViewCommands, ZoomChangesTheDistanceByItsFactors) {
    Load(Ferry);
    const double fitted = Form->View->Distance();
    Form->Action(TCommand::ZoomIn)->trigger();
    EXPECT_DOUBLE_EQ(Form->View->Distance(), fitted * 0.9);
    Form->Action(TCommand::ZoomOut)->trigger();
    EXPECT_DOUBLE_EQ(Form->View->Distance(), fitted * 0.9 * 1.1);
    EXPECT_LT(Form->View->Distance(), fitted * 0.995) << "in and out is not back to the start";

    // One notch is 120; away from the user comes 2.4 per cent closer.
    const double start = Form->View->Distance();
    Wheel(120);
    EXPECT_DOUBLE_EQ(Form->View->Distance(), start * (1 - 0.024));
    const double nearer = Form->View->Distance();
    Wheel(-240);
    EXPECT_DOUBLE_EQ(Form->View->Distance(), nearer * (1 + 0.048));
}

TEST_F(ViewCommands, OnlyZoomAndOriginWorkBeforeALoad) {
    ShowAndWait();
    Form->ViewCommands->ZoomIn();
    Form->ViewCommands->ZoomOut();
    Wheel(120);
    EXPECT_GE(Form->View->Distance(), MinimumDistance);
    Form->Action(TCommand::ShowOrigin)->trigger();
    EXPECT_FALSE(Form->View->ShowOrigin());
    EXPECT_FALSE(Form->Action(TCommand::ShowOrigin)->isChecked());
    Form->ViewCommands->SwitchOriginMarker();
    EXPECT_TRUE(Form->View->ShowOrigin());
    EXPECT_TRUE(Form->Action(TCommand::ShowOrigin)->isChecked());
    EXPECT_FALSE(Frame().isNull());

    Form->ViewCommands->DeckUp();
    Form->ViewCommands->DeckDown();
    Form->ViewCommands->DeckChosen();
    Form->ViewCommands->AddLightAtCentre();
    Form->ViewCommands->RemoveNearestLight();
    EXPECT_EQ(Form->View->DeckIndex(), 0);
    EXPECT_EQ(Form->Tools->DeckChooser->count(), 1);
    EXPECT_EQ(Form->Tools->DeckChooser->currentText(), "---");
    EXPECT_EQ(Form->Status->LightsPanel->text(), "Lights:");
    EXPECT_TRUE(Form->Action(TCommand::AddLight)->isEnabled());
    EXPECT_TRUE(Form->Action(TCommand::RemoveLight)->isEnabled());
}

TEST_F(ViewCommands, AnAddedLightBrightensTheFloorUnderIt) {
    ShowAndWait();
    // A 20 x 20 floor starts with one light above its centre, where the view looks; the one
    // person stands in a corner, out of the way.
    Load(WriteProject(FloorProject(20, 1, 0, {{0, 0, "S"}})));
    Form->ViewCommands->SwitchOriginMarker(); // the marker would hide the floor at the centre
    const QImage before = Frame();
    const QPoint floor = FloorPixel(before, Form->View->Distance(), 2.0, 1.0);
    const TRgb dim = PixelAt(before, floor);
    Form->ViewCommands->AddLightAtCentre();
    ExpectLights(2);
    const TRgb bright = PixelAt(Frame(), floor);
    EXPECT_GT(bright.R, dim.R + 30);
    EXPECT_GT(bright.G, dim.G + 30);
    EXPECT_GT(bright.B, dim.B + 30);
}

} // namespace
