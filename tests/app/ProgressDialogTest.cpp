// The progress window on a real display, driven through the seam the reader sees.

#include "ProgressDialog.h"
#include "GuiTestMain.h"
#include "OverMainWindowTest.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class ProgressDialog : public TOverMainWindowTest {
protected:
    void ShowAsTheReaderDoes() {
        Progress.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    }

    TProgressDialog Dialog{&MainWindow};
    IProgressWindow& Progress = Dialog;
};

TEST_F(ProgressDialog, ShowsWithoutBlockingAsASmallWindowCentredOnTheMainWindow) {
    EXPECT_EQ(Dialog.windowTitle(), "Progress");
    EXPECT_FALSE(Dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(Dialog.ProgressInfo.text(), "...");
    EXPECT_EQ(Dialog.ProgressBar.geometry(), QRect(0, 25, 292, 25));
    EXPECT_EQ(Dialog.ProgressBar.maximum(), 100);

    ShowAsTheReaderDoes();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Dialog.size(), QSize(292, 50));
    EXPECT_LE((Dialog.geometry().center() - MainWindow.geometry().center()).manhattanLength(), 2);
}

TEST_F(ProgressDialog, TheUserCannotCloseItButTheProgramCan) {
    ShowAsTheReaderDoes();
    QTest::keyClick(&Dialog, Qt::Key_Escape);
    EXPECT_TRUE(Dialog.isVisible()) << "closed by Esc";
    Dialog.windowHandle()->close(); // what the window manager's close asks for
    EXPECT_TRUE(Dialog.isVisible()) << "closed by the window manager";
    Dialog.Close();
    EXPECT_FALSE(Dialog.isVisible());
}

TEST_F(ProgressDialog, KeepsTextAndBarWhileHiddenAndTakesTheReadersTexts) {
    ShowAsTheReaderDoes();
    Progress.SetInfoText("Creating quad-list for Level: 2");
    Progress.SetProgress(42);
    Dialog.Close();
    ShowAsTheReaderDoes();
    EXPECT_EQ(Dialog.ProgressInfo.text(), "Creating quad-list for Level: 2");
    EXPECT_EQ(Dialog.ProgressBar.value(), 42);

    Dialog.Close();
    Progress.SetInfoText("Loading Caf\xe9 deck...");
    EXPECT_EQ(Dialog.ProgressInfo.text(), QString::fromUtf8("Loading Caf\u00e9 deck..."));
    Progress.SetInfoText("Loading Caf\xc3\xa9 deck...");
    EXPECT_EQ(Dialog.ProgressInfo.text(), QString::fromUtf8("Loading Caf\u00e9 deck..."));
    Progress.SetProgress(150);
    EXPECT_EQ(Dialog.ProgressBar.value(), 100);
    Progress.SetProgress(-1);
    EXPECT_EQ(Dialog.ProgressBar.value(), 0);
}

// The bar is drawn on the screen when the reader lets the events through, not at each percent.
TEST_F(ProgressDialog, TheBarOnTheScreenFollowsWhenTheEventsAreLetThrough) {
    ShowAsTheReaderDoes();
    const auto onScreen = [this] {
        const QRect bar = Dialog.ProgressBar.geometry();
        return Dialog.screen()
            ->grabWindow(Dialog.winId(), bar.x(), bar.y(), bar.width(), bar.height())
            .toImage();
    };
    Progress.SetProgress(0);
    QTest::qWait(50);
    const QImage empty = onScreen();
    Progress.SetProgress(100);
    QTest::qWait(50);
    EXPECT_NE(onScreen(), empty);
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
