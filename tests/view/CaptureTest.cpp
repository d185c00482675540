// Screen shots of the cell view written for real as JPEG files, read back and compared with the
// frame on the screen; and the JPEG writer's failures.

#include "DeckView.h"
#include "GuiTestMain.h"
#include "JpegCheck.h"
#include "JpegWriter.h"
#include "LogFile.h"
#include "PixelCheck.h"
#include "RecordingUiServices.h"
#include "SmallDeck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr QSize ViewSize{800, 600};

// Points of the 800 x 600 frame, seen straight from above: open floor, the body of the person
// and the origin marker at the look-at point.
constexpr QPoint Floor{200, 400};
constexpr QPoint PersonBody{120, 100};
constexpr QPoint Centre{400, 300};

// Where a point of the view's frame lands in a picture stretched to another size.
QPoint Stretched(QPoint point, QSize size) {
    return {point.x() * size.width() / ViewSize.width(),
            point.y() * size.height() / ViewSize.height()};
}

class Capture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        ASSERT_TRUE(Project.LoadFromMemory("deck", SmallDeck, Progress));
        View = std::make_unique<TDeckView>(nullptr);
        View->resize(ViewSize);
        View->ShowProject(Project);
        View->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return View->HasFrame(); }));
    }

    QString Path(const QString& name) const { return Dir.filePath(name); }

    // The picture written as name, read back; null when the shot failed.
    QImage Shot(const QString& name, std::int32_t width, std::int32_t height) {
        const QString error = View->SaveCanvasToFile(Path(name), width, height);
        EXPECT_EQ(error, QString());
        return QImage(Path(name), "JPEG");
    }

    // What the view shows now, stretched as a shot of that size would be.
    QImage FrameAt(QSize size) {
        return View->DrawnFrame().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    QTemporaryDir Dir;
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TNoProgressWindow Progress;
    TLogFile Project{"Level"};
    std::unique_ptr<TDeckView> View;
};

TEST_F(Capture, WithoutAWidthWritesTheFrameAtTheViewsOwnSize) {
    const QImage shot = Shot("own.jpg", 0, 500);
    ASSERT_EQ(shot.size(), ViewSize);
    EXPECT_LT(MeanDifference(shot, View->DrawnFrame()), 2.0);
    EXPECT_TRUE(IsGreen(PixelAt(shot, Centre))); // the origin marker
    EXPECT_TRUE(IsGreen(PixelAt(shot, PersonBody)));
    EXPECT_TRUE(IsGrey(PixelAt(shot, Floor), 100, 255));

    const TJpegHeader header = HeaderOf(Contents(Path("own.jpg")));
    EXPECT_EQ(header.FrameMarker, 0xC0); // baseline, not progressive
    EXPECT_EQ(header.Components, 3);
    // Quality 90 scales the standard luminance table, 16 first and 99 last, to a fifth.
    EXPECT_EQ(header.QuantFirst, 3);
    EXPECT_EQ(header.QuantLast, 20);
}

TEST_F(Capture, AWidthAndHeightStretchThePictureToExactlyThatSize) {
    for (const QSize size : {QSize(400, 400), QSize(1600, 1200), QSize(1, 1)}) {
        SCOPED_TRACE(size.width());
        const QImage shot = Shot("stretched.jpg", size.width(), size.height());
        ASSERT_EQ(shot.size(), size);
        EXPECT_LT(MeanDifference(shot, FrameAt(size)), 2.0);
        if (size.width() > 1) {
            EXPECT_TRUE(IsGreen(PixelAt(shot, Stretched(Centre, size))));
            EXPECT_TRUE(IsGreen(PixelAt(shot, Stretched(PersonBody, size))));
        }
    }
}

// The view is drawn anew for the shot: a change that has only asked for a frame shows.
TEST_F(Capture, OverwritesAnOlderFileWithTheCurrentState) {
    QFile older(Path("shot.jpg"));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("not a picture");
    older.close();
    EXPECT_TRUE(IsGreen(PixelAt(Shot("shot.jpg", 0, 0), Centre)));
    View->ToggleOrigin();
    const QImage shot = Shot("shot.jpg", 0, 0);
    EXPECT_TRUE(IsGrey(PixelAt(shot, Centre), 100, 255));
    EXPECT_TRUE(IsGreen(PixelAt(shot, PersonBody)));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"shot.jpg"});
}

// Nothing is left behind: no picture, no temporary file, and a folder in the way stays a folder.
TEST_F(Capture, AFailureGivesTheReasonAndWritesNothing) {
    const QString missingFolder = Path("gone/shot.jpg");
    EXPECT_FALSE(View->SaveCanvasToFile(missingFolder, 0, 0).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(missingFolder));

    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.jpg"));
    EXPECT_FALSE(View->SaveCanvasToFile(Path("folder.jpg"), 0, 0).isEmpty());
    EXPECT_TRUE(QFileInfo(Path("folder.jpg")).isDir());

    const QSize refused[] = {{-1, 10}, {10, -1}, {10, 0}, {16385, 10}, {10, 16385}, {16384, 16384}};
    for (const QSize size : refused) {
        const QString error = View->SaveCanvasToFile(Path("size.jpg"), size.width(), size.height());
        EXPECT_TRUE(error.contains(QString("%1 x %2").arg(size.width()).arg(size.height())))
            << error.toStdString();
    }
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"folder.jpg"});
}

// libjpeg's own handling of an error would end the program.
TEST(JpegWriter, AnEncoderErrorIsReturnedAndKeepsTheOlderFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.jpg");
    ASSERT_EQ(WriteFileAtomically(path, "older"), QString());

    QImage tooWide(70000, 1, QImage::Format_RGBX8888);
    tooWide.fill(Qt::white);
    const QString error = SaveJpeg(tooWide, path, 90);
    EXPECT_TRUE(error.contains("65500")) << error.toStdString(); // the largest side JPEG allows
    EXPECT_EQ(Contents(path), "older");

    EXPECT_FALSE(EncodeJpeg(QImage(), 90).Error.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"shot.jpg"});
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
