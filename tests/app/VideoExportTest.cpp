// Videos exported from the main window, written for real through FFmpeg's libraries and read
// back with its own demuxer: what they show, and what a cancel or a full disk leaves behind.

#include "FileSizeLimit.h"
#include "JpegCheck.h"
#include "MainWindowFixture.h"
#include "ProgramTest.h"
#include "VideoCheck.h"
#include "VideoExportWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <functional>

namespace {

class VideoExport : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ShowAndWait();
        Load(Ferry);
        Videos = Files.filePath("videos");
        QDir().mkpath(Videos);
    }

    // Opens File > Export video... and, once its window shows, does what a user does there.
    void Export(const std::function<void(TVideoExportWindow&)>& inWindow) {
        QTimer::singleShot(0, Window.get(), [&] {
            ASSERT_NE(Window->VideoExport, nullptr);
            inWindow(*Window->VideoExport);
            Window->VideoExport->reject(); // closed if the export left it open
        });
        Window->Action(TCommand::ExportVideo)->trigger();
    }

    // Seconds 20 to 22 of the replay at real speed, 320 x 240, no caption, into the file.
    void Choose(TVideoExportWindow& window, const QString& file, int to = 22) {
        window.FromField->setValue(20);
        window.ToField->setValue(to);
        window.FramesPerSecondChooser->setCurrentText(QStringLiteral("25"));
        window.SpeedField->setValue(1.0);
        window.WidthField->setValue(320);
        window.HeightField->setValue(240);
        window.CaptionBox->setChecked(false);
        Ui.SaveAnswers = {file.toStdString()};
    }

    // Only the named files in the folder: no temporary file was left behind.
    QStringList VideoFolder() const { return QDir(Videos).entryList(QDir::Files | QDir::Hidden); }

    const QString Ferry = QStringLiteral(AMBLA_SAMPLES_DIR "/ferry.3dl");
    QString Videos;
};

// The video holds the frames of its part at its rate and size, each as --render draws that step
// with the same camera and layers; the window shows the step it showed before.
TEST_F(VideoExport, AVideoShowsTheViewsPartOfTheReplayAndLeavesTheWindowAsItWas) {
    Window->Action(TCommand::ColourByWaiting)->trigger();
    for (int i = 0; i < 7; ++i) {
        Window->Projects->Replay.StepForward();
    }
    Window->View->Paint();
    const QImage before = Window->View->DisplayedFrame();
    const QString file = QDir(Videos).filePath("ferry.mp4");
    QString length;
    Export([&](TVideoExportWindow& window) {
        EXPECT_EQ(window.SpeedField->value(), 5.0) << "the playback's speed";
        EXPECT_TRUE(window.CaptionBox->isChecked()) << "as the options say";
        Choose(window, file);
        length = window.LengthLabel->text();
        window.ExportButton->click();
        EXPECT_FALSE(window.isVisible());
    });
    EXPECT_TRUE(Boxes().empty()) << Boxes().front();
    EXPECT_EQ(Ui.SaveDialogs.back().FileName, "ferry.mp4");
    EXPECT_EQ(Window->Status->MessagePanel->text(),
              "Saved ferry.mp4 in " + QDir::toNativeSeparators(Videos));
    // Four steps a second: frame i shows step 80 + round(4 i / 25), up to step 88, which frames
    // 50 to 53 show; frame 25 shows step 84, 21 s.
    const std::int32_t perSecond = Window->Projects->Project()->VMax;
    ASSERT_EQ(perSecond, 4);
    EXPECT_EQ(length, "54 frames, 0:02 min of video");
    const TVideoFacts facts = ReadVideo(file.toStdString(), 25);
    ASSERT_TRUE(facts.Opened);
    EXPECT_EQ(facts.Codec, AV_CODEC_ID_H264);
    EXPECT_EQ(facts.Width, 320);
    EXPECT_EQ(facts.Height, 240);
    EXPECT_EQ(facts.Frames, 54);
    ASSERT_FALSE(facts.Picked.isNull());

    // Persons coloured by waiting make a picture of their own, far from the green ones.
    const auto still = [&](const std::string& name, std::vector<std::string> options) {
        const std::string step = std::to_string(21 * perSecond);
        const std::string frames = Files.filePath(QString::fromStdString(name)).toStdString();
        options.insert(options.begin(), {"--render", Ferry.toStdString(), "--out", frames, "--from",
                                         step, "--to", step, "--size", "320x240"});
        const TRun run = RunProgram(Files.path().toStdString(), options,
                                    "-u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0");
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return QImage(
            QString::fromStdString(frames + "/" + FormatStepNumber(21 * perSecond) + ".jpg"));
    };
    const double waiting = MeanDifference(facts.Picked, still("waiting", {"--colour-waiting"}));
    const double green = MeanDifference(facts.Picked, still("green", {}));
    EXPECT_LT(waiting, 5.0);
    EXPECT_LT(waiting * 2, green);

    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 7);
    Window->View->Paint();
    EXPECT_EQ(Window->View->DisplayedFrame(), before) << "the persons stand where they stood";
}

// A cancelled video and one that meets a full disk leave the older file as it was and nothing
// else; the failure is told in a box, the cancel is not.
TEST_F(VideoExport, ACancelOrAFullDiskLeavesTheOlderFileAndNothingElse) {
    const QString file = QDir(Videos).filePath("ferry.mp4");
    {
        QFile older(file);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("an older video");
    }
    Export([&](TVideoExportWindow& window) {
        Choose(window, file, 200);
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            auto* progress = window.findChild<QProgressDialog*>();
            if (progress != nullptr && progress->value() >= 3) {
                progress->cancel();
            }
        });
        cancel.start(0);
        window.ExportButton->click();
        EXPECT_TRUE(window.isVisible()) << "a cancelled export leaves its window open";
    });
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(VideoFolder(), QStringList{"ferry.mp4"});

    Export([&](TVideoExportWindow& window) {
        Choose(window, file);
        const TFileSizeLimit full(4096);
        window.ExportButton->click();
    });
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].rfind("Error: Cannot write the video:\n" + file.toStdString() + "\n", 0),
              0U)
        << Boxes()[0];
    EXPECT_EQ(VideoFolder(), QStringList{"ferry.mp4"});
    QFile older(file);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "an older video");
}

} // namespace
