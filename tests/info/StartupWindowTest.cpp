// The startup window on a real display: its look, and when a click may end a showing.

#include "StartupWindow.h"
#include "GuiTestMain.h"
#include "OverMainWindowTest.h"
#include "VersionText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct TShowing {
    int Result = -1;
    qint64 Milliseconds = 0;
};

class StartupWindow : public TOverMainWindowTest {
protected:
    // Shows the window modally as the main window does; `during` runs once it is on screen. A
    // showing that outlives its time by far is ended as Rejected, so a fault cannot hang the test.
    TShowing ShowModally(int displayTime, const std::function<void()>& during = {}) {
        Window.SetDisplayTime(displayTime);
        if (during) {
            QTimer::singleShot(0, &Window, [&] {
                if (QTest::qWaitForWindowExposed(&Window)) {
                    during();
                }
            });
        }
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] { Window.done(QDialog::Rejected); });
        guard.start(std::max(displayTime, 0) + 3000);
        QElapsedTimer clock;
        clock.start();
        const int result = Window.exec();
        return {result, clock.elapsed()};
    }

    // Clicks through the window, as the user would, so that whatever lies at the point gets it.
    void ClickAt(QPoint point) {
        QTest::mouseClick(Window.windowHandle(), Qt::LeftButton, {}, point);
    }

    // The window's corner, the open picture, and both labels.
    std::vector<QPoint> ClickPoints() const {
        return {QPoint(2, 2), QPoint(300, 70), Window.NoticeLabel.geometry().center(),
                Window.VersionLabel.geometry().center()};
    }

    TStartupWindow Window{&MainWindow};
};

TEST_F(StartupWindow, IsAFramelessPictureWithNoticeAndVersionCentredOnTheMainWindow) {
    Window.SetDisplayTime(5000);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    EXPECT_TRUE(Window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(Window.size(), QSize(385, 170));
    EXPECT_LE((Window.geometry().center() - MainWindow.geometry().center()).manhattanLength(), 2);

    EXPECT_EQ(Window.AmblaImage.geometry(), Window.rect());
    EXPECT_EQ(Window.AmblaImage.pixmap().size(), QSize(385, 170));
    const QColor corner = Window.grab().toImage().pixelColor(4, 4);
    EXPECT_GT(corner.green(), corner.red());
    EXPECT_GT(corner.green(), corner.blue());

    const QStringList notice = Window.NoticeLabel.text().split(QLatin1Char('\n'));
    ASSERT_EQ(notice.size(), 3);
    EXPECT_TRUE(notice[0].contains("Morvane HT"));
    EXPECT_TRUE(notice[1].isEmpty());
    EXPECT_TRUE(notice[2].contains("www.morvane.example"));
    EXPECT_EQ(Window.NoticeLabel.pos(), QPoint(8, 24));
    EXPECT_EQ(Window.VersionLabel.pos(), QPoint(16, 144));
    for (const QLabel* label : {&Window.NoticeLabel, &Window.VersionLabel}) {
        EXPECT_TRUE(Window.rect().contains(label->geometry())) << label->text().toStdString();
    }
    Window.done(QDialog::Accepted);
}

TEST_F(StartupWindow, StartupShowingIgnoresClicksAndEndsAfterOneSecond) {
    int clicksThatClosed = 0;
    const TShowing showing = ShowModally(1000, [&] {
        for (const QPoint point : ClickPoints()) {
            ClickAt(point);
            clicksThatClosed += Window.isVisible() ? 0 : 1;
        }
    });
    EXPECT_EQ(clicksThatClosed, 0);
    EXPECT_EQ(showing.Result, QDialog::Accepted);
    EXPECT_GE(showing.Milliseconds, 990);
}

TEST_F(StartupWindow, LongShowingEndsAtAClickAnywhereAndShowsTheVersionEachTime) {
    const std::size_t targets = ClickPoints().size();
    for (std::size_t i = 0; i < targets; ++i) {
        SCOPED_TRACE(i);
        Window.VersionLabel.setText("stale");
        QString versionShown;
        const TShowing showing = ShowModally(5000, [&] {
            versionShown = Window.VersionLabel.text();
            ClickAt(ClickPoints()[i]);
        });
        EXPECT_EQ(showing.Result, QDialog::Accepted);
        EXPECT_LT(showing.Milliseconds, 4000);
        EXPECT_EQ(versionShown, "Version: " + FileVersionText(3));
    }
}

TEST_F(StartupWindow, AClickEndsOnlyShowingsLongerThanTwoSeconds) {
    bool openAfterClick = false;
    ShowModally(2000, [&] {
        ClickAt(QPoint(300, 70));
        openAfterClick = Window.isVisible();
        Window.done(QDialog::Accepted);
    });
    EXPECT_TRUE(openAfterClick);

    const TShowing showing = ShowModally(2001, [&] {
        ClickAt(QPoint(300, 70));
        openAfterClick = Window.isVisible();
    });
    EXPECT_FALSE(openAfterClick);
    EXPECT_EQ(showing.Result, QDialog::Accepted);
}

TEST_F(StartupWindow, NoDisplayTimeEndsTheShowingAtOnce) {
    for (const int time : {0, -5}) {
        SCOPED_TRACE(time);
        const TShowing showing = ShowModally(time);
        EXPECT_EQ(showing.Result, QDialog::Accepted);
        EXPECT_LT(showing.Milliseconds, 2000);
    }
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
