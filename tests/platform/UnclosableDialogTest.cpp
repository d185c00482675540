// A window that only the program closes passes Alt+F4 on as the wish to end the program.

#include "UnclosableDialog.h"
#include "OverMainWindowTest.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class UnclosableDialog : public TOverMainWindowTest {
protected:
    TUnclosableDialog Dialog{&MainWindow};
};

TEST_F(UnclosableDialog, PassesTheWindowSystemsCloseOnAndStays) {
    QSignalSpy asked(&Dialog, &TUnclosableDialog::ProgramCloseRequested);
    ShowAndWait(Dialog);
    QTest::keyClick(&Dialog, Qt::Key_Escape);
    EXPECT_TRUE(Dialog.isVisible()) << "closed by Esc";
    EXPECT_EQ(asked.count(), 0) << "Esc is no wish to end the program";

    Dialog.windowHandle()->close(); // what the window manager's close asks for
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(asked.count(), 1);

    // Hidden, it closes at once and asks nothing, so that it never holds up a quit.
    Dialog.hide();
    EXPECT_TRUE(Dialog.windowHandle()->close());
    EXPECT_EQ(asked.count(), 1);
}

} // namespace
