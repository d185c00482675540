// Starts the built viewer on the bundled sample, as a person would, and looks at the screen.

#include "GuiTestMain.h"
#include "ViewerProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool IsViewBackground(QColor c) {
    return c.red() == 0 && c.green() == 0 && c.blue() == 51;
}

// Lit floor of the deck: a grey well above the background.
bool IsFloor(QColor c) {
    return std::abs(c.red() - c.green()) < 10 && std::abs(c.green() - c.blue()) < 10 &&
           c.red() > 90;
}

QImage Screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Share of sampled points around the middle of the screen that show the deck's floor.
double FloorShare(const QImage& screen) {
    int floor = 0;
    int samples = 0;
    for (int y = screen.height() * 2 / 5; y < screen.height() * 3 / 5; y += 8) {
        for (int x = screen.width() / 4; x < screen.width() * 3 / 4; x += 8) {
            ++samples;
            floor += IsFloor(screen.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return samples > 0 ? double(floor) / samples : 0.0;
}

// The startup window shows for a second, then the file loads and deck 0 is drawn.
QImage WaitForDeck(TViewerProcess& viewer) {
    QImage screen;
    viewer.Drawn = QTest::qWaitFor(
        [&] {
            screen = Screen();
            return FloorShare(screen) > 0.3;
        },
        60000);
    return screen;
}

// Mean difference per channel between a picture and the same-sized part of the screen whose top
// left corner is at (0, top).
double MeanDifference(const QImage& picture, const QImage& screen, int top) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 7) {
            const QColor a = picture.pixelColor(x, y);
            const QColor b = screen.pixelColor(x, y + top);
            sum += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue());
            count += 3;
        }
    }
    return count > 0 ? sum / count : 255.0;
}

// Given as a path relative to the folder the viewer starts in, the file is shown by its full path.
TEST(Viewer, OpensOnTheSampleAndDrawsDeckZero) {
    const QFileInfo sample(AMBLA_SAMPLE_FILE);
    TViewerProcess viewer(sample.fileName(), sample.absolutePath());
    QProcess& process = viewer.Process;
    ASSERT_TRUE(process.waitForStarted());
    const QImage screen = WaitForDeck(viewer);
    screen.save("viewer-e2e.png");
    EXPECT_TRUE(viewer.Drawn) << "no deck in the middle of the screen; see viewer-e2e.png";
    EXPECT_TRUE(IsViewBackground(screen.pixelColor(screen.width() / 2, screen.height() / 8)));
    EXPECT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
    // Exactly the program's caption, nothing appended by the toolkit.
    EXPECT_EQ(WindowNames("^Ambla Viewer"), QStringList{"Ambla Viewer, " AMBLA_SAMPLE_FILE});
}

TEST(Viewer, AMessageBoxIsTitledWithItsOwnCaption) {
    QTemporaryDir folder;
    TViewerProcess viewer(folder.filePath("missing.3dl"));
    ASSERT_TRUE(viewer.Process.waitForStarted());
    QStringList boxes;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            boxes = WindowNames("Error");
            return !boxes.isEmpty();
        },
        30000));
    EXPECT_EQ(boxes, QStringList{"Error"});
}

// Y writes the view as a JPEG file beside the log file, and it shows what the screen shows.
TEST(Viewer, ASingleShotShowsWhatTheScreenShows) {
    QTemporaryDir folder;
    const QString log = folder.filePath("ferry.3dl");
    ASSERT_TRUE(QFile::copy(AMBLA_SAMPLE_FILE, log));
    TViewerProcess viewer(log);
    ASSERT_TRUE(viewer.Process.waitForStarted());
    WaitForDeck(viewer);
    ASSERT_TRUE(viewer.Drawn);
    QProcess::execute("xdotool",
                      {"search", "--name", "^Ambla Viewer, ", "windowfocus", "--sync", "key", "y"});
    const QString shot = folder.filePath("000000.jpg");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QImage(shot).width() > 0; }, 20000))
        << viewer.Process.readAllStandardError().toStdString();
    const QImage picture(shot);
    const QImage screen = Screen();
    // The view lies below the menu bar, at the window's left edge.
    double best = 255.0;
    for (int top = 0; top < 80 && top + picture.height() <= screen.height(); ++top) {
        best = std::min(best, MeanDifference(picture, screen, top));
    }
    EXPECT_LT(best, 6.0) << "the shot differs from the screen; mean difference " << best;
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
