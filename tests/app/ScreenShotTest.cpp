// Screen shots from the main window, written for real as JPEG and PNG files into temporary
// folders: the file names, the three save options, the three sizes, the overwrite question, the
// caption, and the series that shoots before every replay step.

#include "DeckCaptionText.h"
#include "FileSizeLimit.h"
#include "FrameCaption.h"
#include "GuiTestMain.h"
#include "JpegCheck.h"
#include "MainWindowFixture.h"
#include "ProgramSettings.h"
#include "ProgramTest.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <utility>
#include <vector>

namespace {

const std::string ErrorBox =
    "Error: Error in TMainForm::Singlescreenshot1Click(). Contact Morvane HT.";

// One person who walks east, one cell a step, for four steps; two steps a second.
const std::vector<TTestPerson> Walker = {{4, 10, "3 3 3 3 S"}};

class ScreenShots : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ShowAndWait();
        Log = WriteProject(FloorProject(20, 2, 0, Walker));
        Load(Log);
        Shots = Files.filePath("shots");
        QDir().mkpath(Shots);
        Window->Shots->Options.ShotPlace = TShotPlace::FixedFolder;
        Window->Shots->Options.ScreenShotSaveDirectory = Shots;
    }

    QString Shot(const QString& name) const { return QDir(Shots).filePath(name); }

    QSize ViewSize() const { return Window->View->size(); }

    // Where the walker stands in a picture of the view's own size, one cell of its way.
    bool WalkerAt(const QImage& picture, double x) const {
        return IsPersonGreen(
            PixelAt(picture, FloorPixel(picture, Window->View->Distance(), x, -0.5)));
    }

    QString Log;
    QString Shots;
};

TEST_F(ScreenShots, NamesFollowTheStepAndTheSaveOption) {
    EXPECT_EQ(FormatStepNumber(0), "000000");
    EXPECT_EQ(FormatStepNumber(12), "000012");
    EXPECT_EQ(FormatStepNumber(1234567), "1234567");

    Window->Shots->TakeSingleShot();
    EXPECT_EQ(QImage(Shot("000000.jpg")).size(), ViewSize());

    for (int i = 0; i < 3; ++i) {
        Window->Projects->Replay.StepForward();
    }
    Window->Shots->Options.ShotPlace = TShotPlace::BesideLog;
    Window->Tools->SingleShotButton->click();
    EXPECT_TRUE(QFileInfo::exists(Files.filePath("000003.jpg")));

    // Asked each time: first in the log's folder, whatever an earlier run chose; then where the
    // user went. The choice is remembered whole in the store, its folder in the record.
    ASSERT_TRUE(TProgramSettings().Write(Settings::ScreenShotSaveDirectory, Shot("earlier.jpg")));
    Window->Shots->Options.ShotPlace = TShotPlace::AskEachTime;
    const QString chosen = Shot("mine.jpg");
    Ui.SaveAnswers = {chosen.toStdString()};
    Window->Action(TCommand::SingleShot)->trigger();
    ASSERT_EQ(Ui.SaveDialogs.size(), 1U);
    EXPECT_EQ(Ui.SaveDialogs[0].FileName, "000003.jpg");
    EXPECT_EQ(Ui.SaveDialogs[0].Title, "Save Screen Shot");
    EXPECT_EQ(QString::fromStdString(Ui.SaveDialogs[0].Directory),
              QFileInfo(Log).absolutePath() + "/");
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_EQ(Window->Status->MessagePanel->text(),
              "Saved mine.jpg in " + QDir::toNativeSeparators(Shots));
    EXPECT_EQ(TProgramSettings().Read(Settings::ScreenShotSaveDirectory), chosen);
    EXPECT_EQ(Window->Shots->Options.ScreenShotSaveDirectory, Shots + "/");
    Window->Shots->TakeSingleShot(); // cancelled: nothing written, nothing said
    EXPECT_EQ(Ui.SaveDialogs[1].Directory, (Shots + "/").toStdString());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ScreenShots, SizesFollowTheResizeOption) {
    const QSize view = ViewSize();
    const double w = view.width();
    const double h = view.height();
    const struct {
        TShotSizing Sizing;
        int Value;
        QSize Expected;
    } cases[] = {
        {TShotSizing::Percentage, 50, QSize(int(w * 0.5), int(h * 0.5))},
        {TShotSizing::Percentage, 100, view},
        {TShotSizing::FixedWidth, 1024, QSize(1024, int(h * 1024 / w))},
        {TShotSizing::FixedHeight, 300, QSize(int(w * 300 / h), 300)},
    };
    for (const auto& c : cases) {
        Window->Shots->Options.ShotSizing = c.Sizing;
        Window->Shots->Options.ScreenShotResizeValue = c.Value;
        Window->Shots->TakeSingleShot();
        EXPECT_EQ(QImage(Shot("000000.jpg")).size(), c.Expected) << int(c.Sizing) << " " << c.Value;
    }

    // Out of range (a hand-edited store): one box for each, and no file.
    QFile::remove(Shot("000000.jpg"));
    Window->Shots->Options.ShotPlace = TShotPlace{7};
    Window->Shots->Options.ShotSizing = TShotSizing{0};
    Window->Shots->TakeSingleShot();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{ErrorBox, ErrorBox}));
    EXPECT_FALSE(QFileInfo::exists(Shot("000000.jpg")));
}

TEST_F(ScreenShots, AnExistingFileIsOverwrittenOnlyAsTheUserSays) {
    QFile old(Shot("000000.jpg"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older picture");
    old.close();
    Window->Shots->Options.IsOverwritingAsked = true;
    Ui.Answers = {TMsgResult::Cancel};
    Window->Shots->TakeSingleShot();
    ASSERT_EQ(Ui.Messages.size(), 1U);
    EXPECT_EQ(Ui.Messages[0].Text, "You are about to overwrite an existing file with this screen "
                                   "shot. Do you want to proceed?");
    EXPECT_EQ(Ui.Messages[0].Buttons, TMsgButtons::OkCancel);
    EXPECT_EQ(QFileInfo(Shot("000000.jpg")).size(), 13) << "cancelled: the old file stays";

    Window->Shots->TakeSingleShot(); // answered OK
    EXPECT_EQ(QImage(Shot("000000.jpg")).size(), ViewSize());
    Window->Shots->Options.IsOverwritingAsked = false;
    Window->Shots->TakeSingleShot();
    EXPECT_EQ(Ui.Messages.size(), 2U) << "not asked when the option is off";
}

// Y says in the status bar where the shot went; a running series shows, at the bar's right
// end, how many frames it has written, and nothing once it has ended.
TEST_F(ScreenShots, TheStatusBarTellsWhereAShotWentAndWhatASeriesHasWritten) {
    QLabel* message = Window->Status->MessagePanel;
    QLabel* series = Window->Status->SeriesPanel;
    Window->Action(TCommand::SingleShot)->trigger();
    EXPECT_EQ(message->text(), "Saved 000000.jpg in " + QDir::toNativeSeparators(Shots));
    EXPECT_FALSE(series->isVisible());

    Window->Action(TCommand::ScreenShotSeries)->trigger();
    EXPECT_TRUE(series->isVisible());
    EXPECT_EQ(series->text(), "Series: 0 frames written");
    Window->Playback->StepForward();
    EXPECT_EQ(series->text(), "Series: 1 frame written");
    Window->Playback->SecondForward();
    EXPECT_EQ(series->text(), "Series: 3 frames written");
    EXPECT_TRUE(series->isVisible());
    Window->Action(TCommand::ScreenShotSeries)->trigger();
    EXPECT_FALSE(series->isVisible());
    Window->Action(TCommand::ScreenShotSeries)->trigger();
    EXPECT_EQ(series->text(), "Series: 0 frames written") << "a new series counts from 0";
}

// A PNG shot is the view as drawn, pixel for pixel; the caption changes the upper left corner of a
// shot and nothing else, and only when asked for.
TEST_F(ScreenShots, PngShotsAreTheViewItselfAndACaptionTakesOnlyItsCorner) {
    const auto rgb = [](const QImage& picture) {
        return picture.convertToFormat(QImage::Format_RGB32);
    };
    Window->Playback->SecondForward();
    Window->Shots->Options.ShotFormat = TShotFormat::Png;
    Window->Action(TCommand::SingleShot)->trigger();
    const QImage plain = rgb(QImage(Shot("000002.png")));
    QCoreApplication::processEvents();
    EXPECT_EQ(plain, rgb(Window->View->DisplayedFrame()));
    EXPECT_EQ(Window->Status->MessagePanel->text(),
              "Saved 000002.png in " + QDir::toNativeSeparators(Shots));

    const QString caption =
        FrameCaptionText(*Window->Projects->Project(), Window->Projects->Replay, 0);
    EXPECT_EQ(caption, "Time: 0:01 min   Deck: " +
                           DeckCaptionText(*Window->Projects->Project(), 0) + "   Saved: 0 of 1");
    Window->Shots->Options.CaptionOnShots = true;
    Window->Action(TCommand::SingleShot)->trigger();
    const QImage captioned = rgb(QImage(Shot("000002.png")));
    ASSERT_EQ(captioned.size(), plain.size());
    const QSize corner = CaptionPicture(caption, plain.height()).size() + QSize(8, 8);
    qint64 changedInCorner = 0;
    qint64 changedElsewhere = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != captioned.pixel(x, y)) {
                ++(x < corner.width() && y < corner.height() ? changedInCorner : changedElsewhere);
            }
        }
    }
    EXPECT_GT(changedInCorner, corner.width() * corner.height() / 4);
    EXPECT_EQ(changedElsewhere, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(rgb(Window->View->DisplayedFrame()), plain) << "the view itself shows no caption";
}

TEST_F(ScreenShots, ASeriesShootsEachStateBeforeItsStepForwardsAndBackwards) {
    Window->Action(TCommand::ScreenShotSeries)->trigger(); // X: the same switch as the tool button
    EXPECT_TRUE(Window->Tools->SeriesButton->isChecked());
    Window->Playback->SecondForward();
    Window->Playback->SecondBackward();
    for (const char* name : {"000000.jpg", "000001.jpg", "000002.jpg"}) {
        EXPECT_TRUE(QFileInfo::exists(Shot(name))) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(Shot("000003.jpg")));
    // Cell centres 4 and 6 lie at x = -5.5 and -3.5: each frame shows its own step.
    const QImage first(Shot("000000.jpg"));
    const QImage third(Shot("000002.jpg"));
    EXPECT_TRUE(WalkerAt(first, -5.5));
    EXPECT_FALSE(WalkerAt(first, -3.5));
    EXPECT_TRUE(WalkerAt(third, -3.5));

    Window->Shots->ShowOptions(); // opening the options ends the series
    EXPECT_FALSE(Window->Tools->SeriesButton->isChecked());
    EXPECT_FALSE(Window->Action(TCommand::ScreenShotSeries)->isChecked());
    QFile::remove(Shot("000000.jpg"));
    Window->Playback->SecondForward();
    EXPECT_FALSE(QFileInfo::exists(Shot("000000.jpg")));
}

TEST_F(ScreenShots, TheLoopShootsStepZeroAgainAskingOnlyWhenTold) {
    Load(WriteProject(FloorProject(20, 2, 0, {{4, 10, "3 S"}}))); // everybody out at step 2
    Window->Shots->Options.IsOverwritingAsked = true;
    Window->Tools->SeriesButton->click();
    Window->Playback->StartAnimation();
    const QSignalBlocker noRealTicks(Window->Playback->AnimationTimer);
    for (int tick = 0; tick < 3; ++tick) {
        Window->Playback->PlaybackTimerFired();
    }
    ASSERT_EQ(Ui.Messages.size(), 1U);
    EXPECT_EQ(Ui.Messages[0].Buttons, TMsgButtons::OkCancel);
    EXPECT_TRUE(Window->Tools->SeriesButton->isChecked());
}

TEST_F(ScreenShots, AShotThatCannotBeWrittenSaysWhyOnceAndEndsTheSeries) {
    Window->Shots->Options.ScreenShotSaveDirectory = Files.filePath("gone");
    Window->Tools->SeriesButton->click();
    Window->Playback->SecondForward();
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 2) << "the replay goes on";
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].rfind("Error: Cannot save the screen shot:\n" +
                                   Files.filePath("gone/000000.jpg").toStdString() + "\n",
                               0),
              0U);
    EXPECT_FALSE(Window->Tools->SeriesButton->isChecked());
    EXPECT_FALSE(Window->Action(TCommand::ScreenShotSeries)->isChecked());
}

// A disk too full for the new shot keeps the one that was there, byte for byte, and says why once.
TEST_F(ScreenShots, AFullDiskKeepsTheShotThatWasThereAndSaysWhy) {
    Window->Action(TCommand::SingleShot)->trigger();
    QFile older(Shot("000000.jpg"));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    const QByteArray olderBytes = older.readAll();
    older.close();
    {
        const TFileSizeLimit nearlyFull(1024);
        Window->Action(TCommand::SingleShot)->trigger();
    }
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].rfind("Error: Cannot save the screen shot:\n" +
                                   Shot("000000.jpg").toStdString() + "\n",
                               0),
              0U);
    EXPECT_NE(Boxes()[0].find("File too large"), std::string::npos) << Boxes()[0];
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_TRUE(older.readAll() == olderBytes);
    EXPECT_EQ(QDir(Shots).entryList(QDir::Files), QStringList{"000000.jpg"});
    // The status bar says what happened last, not where the shot before went.
    QLabel* message = Window->Status->MessagePanel;
    EXPECT_EQ(message->text(), "Could not save 000000.jpg in " + QDir::toNativeSeparators(Shots));
    Window->Action(TCommand::SingleShot)->trigger();
    EXPECT_EQ(message->text(), "Replaced 000000.jpg in " + QDir::toNativeSeparators(Shots));
}

TEST_F(ScreenShots, ASeriesAskedForItsFolderKeepsItWhileSingleShotsAskForTheirOwn) {
    Window->Shots->Options.ShotPlace = TShotPlace::AskEachTime;
    Window->Tools->SeriesButton->click(); // the chooser is cancelled
    EXPECT_FALSE(Window->Tools->SeriesButton->isChecked());

    const QString series = Files.filePath("series");
    QDir().mkpath(series);
    Ui.DirectoryAnswers = {series.toStdString()};
    Window->Tools->SeriesButton->click();
    ASSERT_TRUE(Window->Tools->SeriesButton->isChecked());
    Ui.SaveAnswers = {Shot("single.jpg").toStdString()};
    Window->Shots->TakeSingleShot();
    Window->Playback->SecondForward();
    EXPECT_TRUE(QFileInfo::exists(Shot("single.jpg")));
    EXPECT_TRUE(QFileInfo::exists(QDir(series).filePath("000001.jpg")));
    EXPECT_EQ(Ui.DirectoryStarts.size(), 2U) << "asked once per switching on, not per step";
}

// One renderer: a frame written without any display equals the window's shot of the same step
// at the same size, up to what JPEG coding changes; so it does with the persons coloured by
// waiting and with the congestion map and trails, each of which changes the picture well beyond
// that.
TEST_F(MainWindowFixture, AFrameRenderedWithoutADisplayEqualsTheWindowsShot) {
    ShowAndWait();
    const QString ferry = QStringLiteral(AMBLA_SAMPLES_DIR "/ferry.3dl");
    Load(ferry);
    constexpr std::int32_t step = 40;
    for (std::int32_t i = 0; i < step; ++i) {
        Window->Projects->Replay.StepForward();
    }
    Window->Shots->Options.ShotPlace = TShotPlace::FixedFolder;
    const auto shotAndFrame = [&](const QString& name, std::vector<std::string> options) {
        const QString shots = Files.filePath(name + "-shots");
        Window->Shots->Options.ScreenShotSaveDirectory = shots;
        QDir().mkpath(shots);
        Window->Shots->TakeSingleShot();
        const QImage shot(QDir(shots).filePath("000040.jpg"));
        EXPECT_EQ(shot.size(), Window->View->size());
        const std::string frames = Files.filePath(name + "-frames").toStdString();
        options.insert(options.begin(),
                       {"--render", ferry.toStdString(), "--out", frames, "--from", "40", "--to",
                        "40", "--size",
                        std::to_string(shot.width()) + "x" + std::to_string(shot.height())});
        const TRun run = RunProgram(Files.path().toStdString(), options,
                                    "-u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0");
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return std::pair{shot, QImage(QString::fromStdString(frames + "/000040.jpg"))};
    };
    const auto [plainShot, plainFrame] = shotAndFrame("plain", {});
    ASSERT_EQ(plainFrame.size(), plainShot.size());
    // Both go through the same encoder; frames one step apart differ by about 0.09.
    EXPECT_LT(MeanDifference(plainFrame, plainShot), 0.03);

    Window->Action(TCommand::ColourByWaiting)->trigger();
    const auto [waitingShot, waitingFrame] = shotAndFrame("waiting", {"--colour-waiting"});
    ASSERT_EQ(waitingFrame.size(), waitingShot.size());
    EXPECT_LT(MeanDifference(waitingFrame, waitingShot), 0.03);
    EXPECT_GT(MeanDifference(waitingShot, plainShot), 0.1);

    Window->Action(TCommand::CongestionMap)->trigger(); // both legends, one above the other
    const auto [mappedShot, mappedFrame] = shotAndFrame("mapped", {"--colour-waiting", "--map"});
    ASSERT_EQ(mappedFrame.size(), mappedShot.size());
    EXPECT_LT(MeanDifference(mappedFrame, mappedShot), 0.03);
    EXPECT_GT(MeanDifference(mappedShot, waitingShot), 0.1);

    Window->Action(TCommand::HidePersonsOnMap)->trigger();
    Window->Action(TCommand::Trails)->trigger();
    const auto [trailShot, trailFrame] =
        shotAndFrame("trails", {"--map", "--hide-persons", "--trails", "--colour-waiting"});
    ASSERT_EQ(trailFrame.size(), trailShot.size());
    EXPECT_LT(MeanDifference(trailFrame, trailShot), 0.03);
    EXPECT_GT(MeanDifference(trailShot, mappedShot), 0.1);

    Window->Action(TCommand::HidePersonsOnMap)->trigger();
    Ui.NumberAnswers = {110};
    Window->Action(TCommand::FindPerson)->trigger();
    Window->Action(TCommand::FollowSelected)->trigger();
    const auto [followedShot, followedFrame] =
        shotAndFrame("followed", {"--map", "--trails", "--colour-waiting", "--follow", "110"});
    ASSERT_EQ(followedFrame.size(), followedShot.size());
    EXPECT_LT(MeanDifference(followedFrame, followedShot), 0.03);
    EXPECT_GT(MeanDifference(followedShot, trailShot), 0.1);
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
