#pragma once
// The base of the tests of one of the program's windows: a plain main window, shown on the test
// display at a fixed place, that the window under test takes as its parent, as in the program.

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

class TOverMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainWindow.setGeometry(200, 150, 800, 600);
        MainWindow.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&MainWindow));
    }

    // Shows the window without blocking and waits until the display shows it; if asked, also
    // until it takes the keys, as after the user's click on it.
    static void ShowAndWait(QWidget& window, bool active = false) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        if (active) {
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        }
    }

    QWidget MainWindow;
};
