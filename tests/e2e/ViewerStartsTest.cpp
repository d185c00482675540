// Starts the built viewer on the bundled sample, as a person would, and looks at the screen.

#include "GuiTestMain.h"

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

TEST(Viewer, OpensOnTheSampleAndDrawsDeckZero) {
    QTemporaryDir config;
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config.path());
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    viewer.setProcessEnvironment(environment);
    viewer.start(AMBLA_VIEWER_EXE, {AMBLA_SAMPLE_FILE});
    ASSERT_TRUE(viewer.waitForStarted());

    // The startup window shows for a second, then the file loads and deck 0 is drawn.
    QImage screen;
    const bool drawn = QTest::qWaitFor(
        [&] {
            screen = Screen();
            return FloorShare(screen) > 0.3;
        },
        60000);
    screen.save("viewer-e2e.png");
    EXPECT_TRUE(drawn) << "no deck in the middle of the screen; see viewer-e2e.png";
    EXPECT_TRUE(IsViewBackground(screen.pixelColor(screen.width() / 2, screen.height() / 8)));
    EXPECT_EQ(viewer.state(), QProcess::Running) << viewer.readAllStandardError().toStdString();

    viewer.terminate();
    EXPECT_TRUE(viewer.waitForFinished(10000));
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
