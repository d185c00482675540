// The deck, zoom, origin and light commands of the main window, and what the view shows after
// them. The test program's main is in PlaybackTest.cpp.

#include "CameraFile.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QWheelEvent>

namespace {

const QString Ferry = SamplesDir + "/ferry.3dl"; // 3 decks of 150 x 40 cells, one light each

class ViewCommands : public MainWindowFixture {
protected:
    void ExpectDeck(std::int32_t deck) const {
        EXPECT_EQ(Window->View->DeckIndex(), deck);
        EXPECT_EQ(Window->Tools->DeckChooser->currentIndex(), 2 - deck)
            << "the chooser lists the top first";
    }

    void ExpectLights(int count) const {
        EXPECT_EQ(Window->Status->LightsPanel->text(), QString("Lights: %1").arg(count));
        EXPECT_EQ(Window->Action(TCommand::AddLight)->isEnabled(), count < DeckLightSlots);
        EXPECT_EQ(Window->Action(TCommand::RemoveLight)->isEnabled(), count > 0);
    }

    void Choose(int item) {
        Window->Tools->DeckChooser->setCurrentIndex(item);
        Window->ViewCommands->DeckChosen();
    }

    void Wheel(int delta) {
        const QPointF centre(Window->width() / 2.0, Window->height() / 2.0);
        QWheelEvent wheel(centre, Window->mapToGlobal(centre), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window.get(), &wheel);
    }
};

TEST_F(ViewCommands, DeckUpAndDownStopAtTheTopAndTheBottom) {
    Load(Ferry);
    ExpectDeck(0);
    Window->Action(TCommand::DeckDown)->trigger();
    ExpectDeck(0);
    for (const std::int32_t deck : {1, 2, 2}) {
        Window->Action(TCommand::DeckUp)->trigger();
        ExpectDeck(deck);
    }
    Window->ViewCommands->DeckDown();
    ExpectDeck(1);
    Choose(2);
    ExpectDeck(0);
    ExpectLights(1);
}

TEST_F(ViewCommands, ChoosingADeckHandsTheKeysBackToTheView) {
    ShowAndWait();
    Load(Ferry);
    Window->activateWindow();
    Window->Tools->DeckChooser->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Window->Tools->DeckChooser->hasFocus(); }));
    QTest::keyClick(Window->Tools->DeckChooser, Qt::Key_Up); // chooses the entry above
    ExpectDeck(1);
    ASSERT_TRUE(Window->View->hasFocus());
    QTest::keyClick(Window->View, Qt::Key_W);
    ExpectDeck(2);
    QTest::keyClick(Window->View, Qt::Key_S);
    ExpectDeck(1);
}

TEST_F(ViewCommands, LightCommandsFollowTheCountOfTheShownDeck) {
    Load(Ferry);
    ExpectLights(1);
    for (int i = 0; i < 7; ++i) {
        Window->Action(TCommand::AddLight)->trigger();
    }
    ExpectLights(DeckLightSlots);
    Window->ViewCommands->AddLightAtCentre(); // a ninth is not added, and no light is moved either
    EXPECT_EQ(Window->Projects->LogFile->Decks[0].LightCount, 8);
    Window->Action(TCommand::RemoveLight)->trigger();
    ExpectLights(7);
    Window->ViewCommands->AddLightAtCentre();
    ExpectLights(8);

    Window->ViewCommands->DeckUp();
    ExpectLights(1);
    Window->ViewCommands->RemoveNearestLight();
    ExpectLights(0);
    Window->ViewCommands->RemoveNearestLight();
    ExpectLights(0);
    Window->ViewCommands->DeckDown();
    ExpectLights(8);
    Choose(1); // deck 1 again, through the chooser
    ExpectLights(0);
    Window->ViewCommands->DeckUp();
    ExpectLights(1);
    EXPECT_EQ(Window->Projects->LogFile->Decks[0].LightCount, 8);
    EXPECT_EQ(Window->Projects->LogFile->Decks[1].LightCount, 0);
}

TEST_F(ViewCommands, ZoomChangesTheDistanceByItsFactors) {
    Load(Ferry);
    const double fitted = Window->View->Distance();
    Window->Action(TCommand::ZoomIn)->trigger();
    EXPECT_DOUBLE_EQ(Window->View->Distance(), fitted * 0.9);
    Window->Action(TCommand::ZoomOut)->trigger();
    EXPECT_DOUBLE_EQ(Window->View->Distance(), fitted * 0.9 * 1.1);
    EXPECT_LT(Window->View->Distance(), fitted * 0.995) << "in and out is not back to the start";

    // One notch is 120; away from the user comes 2.4 per cent closer.
    const double start = Window->View->Distance();
    Wheel(120);
    EXPECT_DOUBLE_EQ(Window->View->Distance(), start * (1 - 0.024));
    const double nearer = Window->View->Distance();
    Wheel(-240);
    EXPECT_DOUBLE_EQ(Window->View->Distance(), nearer * (1 + 0.048));
}

TEST_F(ViewCommands, OnlyZoomAndOriginWorkBeforeALoad) {
    ShowAndWait();
    Window->ViewCommands->ZoomIn();
    Window->ViewCommands->ZoomOut();
    Wheel(120);
    EXPECT_GE(Window->View->Distance(), MinimumDistance);
    Window->Action(TCommand::ShowOrigin)->trigger();
    EXPECT_FALSE(Window->View->ShowOrigin());
    EXPECT_FALSE(Window->Action(TCommand::ShowOrigin)->isChecked());
    Window->ViewCommands->SwitchOriginMarker();
    EXPECT_TRUE(Window->View->ShowOrigin());
    EXPECT_TRUE(Window->Action(TCommand::ShowOrigin)->isChecked());
    EXPECT_FALSE(Frame().isNull());

    Window->ViewCommands->DeckUp();
    Window->ViewCommands->DeckDown();
    Window->ViewCommands->DeckChosen();
    Window->ViewCommands->AddLightAtCentre();
    Window->ViewCommands->RemoveNearestLight();
    EXPECT_EQ(Window->View->DeckIndex(), 0);
    EXPECT_EQ(Window->Tools->DeckChooser->count(), 1);
    EXPECT_EQ(Window->Tools->DeckChooser->currentText(), "---");
    EXPECT_EQ(Window->Status->LightsPanel->text(), "Lights:");
    EXPECT_TRUE(Window->Action(TCommand::AddLight)->isEnabled());
    EXPECT_TRUE(Window->Action(TCommand::RemoveLight)->isEnabled());
}

TEST_F(ViewCommands, AnAddedLightBrightensTheFloorUnderIt) {
    ShowAndWait();
    // A 20 x 20 floor starts with one light above its centre, where the view looks; the one
    // person stands in a corner, out of the way.
    Load(WriteProject(FloorProject(20, 1, 0, {{0, 0, "S"}})));
    Window->ViewCommands->SwitchOriginMarker(); // the marker would hide the floor at the centre
    const QImage before = Frame();
    const QPoint floor = FloorPixel(before, Window->View->Distance(), 2.0, 1.0);
    const TRgb dim = PixelAt(before, floor);
    Window->ViewCommands->AddLightAtCentre();
    ExpectLights(2);
    const TRgb bright = PixelAt(Frame(), floor);
    EXPECT_GT(bright.R, dim.R + 30);
    EXPECT_GT(bright.G, dim.G + 30);
    EXPECT_GT(bright.B, dim.B + 30);
}

// The camera saved is the view's, with the deck shown; a file that cannot be written is named in
// a box with the reason, and a cancelled dialog writes nothing.
TEST_F(ViewCommands, SaveCameraWritesTheViewsCameraAndDeck) {
    Load(Ferry);
    Window->ViewCommands->DeckUp();
    Window->Action(TCommand::LookObliquely)->trigger();
    Window->Action(TCommand::ZoomIn)->trigger();
    Window->View->CentreOn(12.5f, -3.0f);
    const QString file = Files.filePath("view.json");
    Ui.SaveAnswers = {file.toStdString()};
    Window->Action(TCommand::SaveCamera)->trigger();
    ASSERT_EQ(Ui.SaveDialogs.size(), 1U);
    EXPECT_EQ(Ui.SaveDialogs[0].Filter, "Camera file (*.json)");
    EXPECT_EQ(Ui.SaveDialogs[0].FileName, "camera.json");
    EXPECT_EQ(QString::fromStdString(Ui.SaveDialogs[0].Directory), QFileInfo(Ferry).absolutePath())
        << "the log's folder";
    EXPECT_EQ(Window->Status->MessagePanel->text(),
              "Saved view.json in " + QDir::toNativeSeparators(Files.path()));
    EXPECT_EQ(Boxes(), std::vector<std::string>{});

    const TCameraFileRead saved = ReadCameraFile(file);
    ASSERT_TRUE(saved.Camera.has_value()) << saved.Error.toStdString();
    const TCamera& camera = Window->View->CameraState();
    EXPECT_EQ(saved.Camera->Deck, 1);
    EXPECT_EQ(saved.Camera->Phi, camera.FPhi);
    EXPECT_EQ(saved.Camera->Theta, camera.FTheta);
    EXPECT_NE(camera.FTheta, 0.0);
    EXPECT_EQ(saved.Camera->Distance, camera.FDistance);
    EXPECT_EQ(saved.Camera->Pan, (std::array<double, 2>{-12.5, 3.0}));

    const QString unwritable = Files.filePath("missing/view.json");
    Ui.SaveAnswers = {unwritable.toStdString()};
    Window->Action(TCommand::SaveCamera)->trigger();
    ASSERT_EQ(Ui.Messages.size(), 1U);
    EXPECT_EQ(Ui.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(
        Ui.Messages[0].Text.rfind("Cannot save the camera:\n" + unwritable.toStdString() + "\n", 0),
        0U)
        << Ui.Messages[0].Text;

    Window->Action(TCommand::SaveCamera)->trigger(); // cancelled
    EXPECT_EQ(Ui.SaveDialogs.size(), 3U);
    EXPECT_EQ(Ui.Messages.size(), 1U);
    EXPECT_EQ(QDir(Files.path()).entryList(QDir::Files), QStringList{"view.json"});
}

// A camera saved in the plan comes back into the view as it was, on its deck; a bad file, or one
// of a deck the project does not have, is told in a box and the view stays as it was.
TEST_F(ViewCommands, LoadCameraLooksFromTheSavedCameraOrLeavesTheViewAsItWas) {
    ShowAndWait();
    Load(Ferry);
    Window->ViewCommands->DeckUp();
    Window->Action(TCommand::LookFromPlan)->trigger();
    Window->Action(TCommand::ZoomIn)->trigger();
    Window->View->CentreOn(12.5f, -3.0f);
    const QString file = Files.filePath("plan.json");
    Ui.SaveAnswers = {file.toStdString()};
    Window->Action(TCommand::SaveCamera)->trigger();
    const TCamera saved = Window->View->CameraState();
    const QImage planFrame = Frame();
    ASSERT_TRUE(saved.FPlan);

    Window->ViewCommands->DeckDown();
    Window->Action(TCommand::LookObliquely)->trigger();
    ASSERT_NE(Frame(), planFrame);
    Ui.FileAnswers = {file.toStdString()};
    Window->Action(TCommand::LoadCamera)->trigger();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    const TCamera& loaded = Window->View->CameraState();
    EXPECT_TRUE(loaded.FPlan);
    EXPECT_EQ(loaded.FEye, saved.FEye);
    EXPECT_EQ(loaded.FPan, saved.FPan);
    EXPECT_EQ(loaded.FDistance, saved.FDistance);
    EXPECT_EQ(Window->View->DeckIndex(), 1);
    EXPECT_EQ(Frame(), planFrame);

    const QString bad = Files.filePath("bad.json");
    QFile badFile(bad);
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write(R"({"format": "ambla-camera", "version": 1, "deck": 9, "phi": 0, "theta": 0,
                     "distance": 50, "pan": [0, 0]})");
    badFile.close();
    Window->Action(TCommand::LookObliquely)->trigger();
    const QImage before = Frame();
    for (const QString& wrong : {Files.filePath("view.json"), bad}) {
        Ui.FileAnswers = {wrong.toStdString()};
        Window->Action(TCommand::LoadCamera)->trigger();
        EXPECT_EQ(Frame(), before);
    }
    ASSERT_EQ(Ui.Messages.size(), 2U);
    EXPECT_EQ(Ui.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(Ui.Messages[0].Text, "Cannot load the camera:\ncamera file " +
                                       Files.filePath("view.json").toStdString() +
                                       ": cannot be read: No such file or directory");
    EXPECT_EQ(Ui.Messages[1].Text, "Cannot load the camera:\ncamera file " + bad.toStdString() +
                                       ": the camera was saved on deck 9, but the log file has "
                                       "decks 0 to 2");
}

} // namespace
