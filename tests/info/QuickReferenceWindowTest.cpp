// The quick reference on a real display: its look, the key list as the user reads it, and the
// only ways it closes.

#include "QuickReferenceWindow.h"
#include "OverMainWindowTest.h"

#include <QApplication>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

class QuickReferenceWindow : public TOverMainWindowTest {
protected:
    // Shows the window modally as the main window does; `during` runs once it is on screen. A
    // showing that lasts too long is ended as Rejected, so a fault cannot hang the test.
    int ShowModally(const std::function<void()>& during) {
        QTimer::singleShot(0, &Window, [&] {
            if (QTest::qWaitForWindowExposed(&Window)) {
                Window.activateWindow();
                if (QTest::qWaitForWindowActive(&Window)) {
                    during();
                }
            }
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] { Window.done(QDialog::Rejected); });
        guard.start(3000);
        return Window.exec();
    }

    TQuickReferenceWindow Window{&MainWindow};
};

QWidget* FocusedControl(QWidget& window) {
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr ? focused : &window;
}

bool IsInk(QColor pixel, QColor ink) {
    return std::abs(pixel.lightness() - ink.lightness()) < 40;
}

TEST_F(QuickReferenceWindow, IsAFixedTitledWindowWithoutCloseBoxCentredOnTheMainWindow) {
    ShowAndWait(Window);
    EXPECT_EQ(Window.windowTitle(), "Quick Reference");
    EXPECT_EQ(Window.size(), QSize(341, 387));
    EXPECT_EQ(Window.minimumSize(), Window.maximumSize());
    const Qt::WindowFlags flags = Window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_LE((Window.geometry().center() - MainWindow.geometry().center()).manhattanLength(), 2);

    EXPECT_EQ(Window.RotateLabel.text(), "Left Mousebutton: Rotate");
    EXPECT_EQ(Window.ZoomLabel.text(), "Scroll Wheel: Zoom");
    EXPECT_EQ(Window.MoveLabel.text(), "Right Mouse Button: Move");
    for (const QLabel* label : {&Window.RotateLabel, &Window.ZoomLabel, &Window.MoveLabel}) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_EQ(label->mapTo(&Window, QPoint(0, 0)).x(), 96);
        EXPECT_TRUE(QRect(0, 0, 341, 129).contains(label->geometry()));
        EXPECT_TRUE(label->isVisible());
    }
    EXPECT_EQ(Window.OkButton.text(), "&Ok");
    EXPECT_TRUE(Window.OkButton.isDefault());
    EXPECT_FALSE(Window.OkButton.icon().isNull());
    EXPECT_TRUE(QRect(0, 362, 341, 25).contains(Window.OkButton.geometry().translated(0, 362)));
    EXPECT_GT(Window.OkButton.mapTo(&Window, QPoint(0, 0)).x(), 341 / 2);
}

TEST_F(QuickReferenceWindow, KeyListReadsLineByLineWithItsActionsInOneColumn) {
    ShowAndWait(Window);
    // One entry per line of the list, empty lines included.
    const QStringList expected = QString("File\n"
                                         "Ctrl + L:\tLoad log file\n"
                                         "Y:\tSingle screen shot\n"
                                         "X:\tScreen shot series\n"
                                         "Alt + F4:\tQuit programme\n"
                                         "\n"
                                         "Views\n"
                                         "W:\tDeck up\n"
                                         "S:\tDeck down\n"
                                         "Q:\tZoom in\n"
                                         "A:\tZoom out\n"
                                         "Z:\tFit deck\n"
                                         "R:\tReset view\n"
                                         "E:\tEvacuation curve\n"
                                         "H:\tCongestion map\n"
                                         "C:\tColour persons by waiting\n"
                                         "T:\tTrails\n"
                                         "Ctrl + F:\tFind person by number\n"
                                         "F:\tFollow selected person\n"
                                         "Esc:\tClear selection\n"
                                         "P:\tPlan: straight down, flat, north up\n"
                                         "\n"
                                         "Animation\n"
                                         "1:\tReset to start\n"
                                         "2:\tRun/pause\n"
                                         "3:\tStep backward\n"
                                         "4:\tStep forward\n"
                                         "Shift + 3:\tStep one time step backward\n"
                                         "Shift + 4:\tStep one time step forward\n"
                                         "Home:\tGo to start\n"
                                         "End:\tGo to end\n"
                                         "\n"
                                         "Settings\n"
                                         "L:\tAdd light above origin\n"
                                         "Shift + L:\tRemove light closest to origin\n"
                                         "\n"
                                         "")
                                     .split('\n');
    const QTextDocument& document = *Window.KeyList.document();
    ASSERT_EQ(document.blockCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(document.findBlockByNumber(i).text(), expected[i]) << "line " << i;
    }

    // Every action starts at the same x, clear of the widest key text.
    const int widestKey = Window.KeyList.fontMetrics().horizontalAdvance("Shift + L:");
    QList<qreal> actionStarts;
    auto* lines = qobject_cast<QPlainTextDocumentLayout*>(document.documentLayout());
    ASSERT_NE(lines, nullptr);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int tab = static_cast<int>(block.text().indexOf('\t'));
        if (tab >= 0) {
            lines->ensureBlockLayout(block); // also the lines scrolled out of view
            actionStarts << block.layout()->lineAt(0).cursorToX(tab + 1);
        }
    }
    ASSERT_EQ(actionStarts.size(), 28);
    for (const qreal x : actionStarts) {
        EXPECT_EQ(x, actionStarts.front());
    }
    EXPECT_GT(actionStarts.front(), widestKey);

    EXPECT_TRUE(Window.KeyList.isReadOnly());
    QTest::keyClicks(&Window.KeyList, "typed");
    EXPECT_EQ(document.blockCount(), expected.size());
    EXPECT_EQ(document.findBlockByNumber(0).text(), "File");
    EXPECT_TRUE(Window.KeyList.textInteractionFlags().testFlag(Qt::TextSelectableByMouse));

    QScrollBar& scrollBar = *Window.KeyList.verticalScrollBar();
    EXPECT_TRUE(scrollBar.isVisible());
    EXPECT_GT(scrollBar.maximum(), 0);
    scrollBar.setValue(scrollBar.maximum());
    EXPECT_EQ(scrollBar.value(), scrollBar.maximum());
}

TEST_F(QuickReferenceWindow, PictureIsAMouseWithLeaderLinesReachingTheLabels) {
    ShowAndWait(Window);
    EXPECT_EQ(Window.MousePicture.mapTo(&Window, QPoint(0, 0)), QPoint(20, 12));
    EXPECT_EQ(Window.MousePicture.size(), QSize(89, 109));
    const QImage picture = Window.MousePicture.grab().toImage();
    ASSERT_EQ(picture.size(), QSize(89, 109));
    const QColor background = Window.palette().color(QPalette::Window);
    const QColor ink = Window.palette().color(QPalette::WindowText);
    EXPECT_EQ(picture.pixelColor(1, 1), background);
    EXPECT_EQ(picture.pixelColor(88, 108), background);

    // Each leader line ends just before its label, at the label's middle.
    for (const QLabel* label : {&Window.RotateLabel, &Window.ZoomLabel, &Window.MoveLabel}) {
        SCOPED_TRACE(label->text().toStdString());
        const QPoint labelLeft = Window.MousePicture.mapFrom(
            &Window.MouseStrip, QPoint(label->x(), label->geometry().center().y()));
        EXPECT_TRUE(IsInk(picture.pixelColor(labelLeft.x() - 3, labelLeft.y()), ink));
        EXPECT_FALSE(IsInk(picture.pixelColor(labelLeft.x() - 3, labelLeft.y() + 4), ink));
    }

    // The mouse itself: an outlined body lighter than the ink, in the lower part.
    int inkPixels = 0;
    int bodyPixels = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            inkPixels += IsInk(pixel, ink) ? 1 : 0;
            bodyPixels += (y > 60 && pixel != background && !IsInk(pixel, ink)) ? 1 : 0;
        }
    }
    EXPECT_GT(inkPixels, 200);
    EXPECT_GT(bodyPixels, 1000);
}

TEST_F(QuickReferenceWindow, ClosesWithAcceptedOnOkOrEnterAndNotOnEscape) {
    EXPECT_EQ(ShowModally([&] { QTest::mouseClick(&Window.OkButton, Qt::LeftButton); }),
              QDialog::Accepted);
    EXPECT_EQ(ShowModally([&] { QTest::keyClick(FocusedControl(Window), Qt::Key_Return); }),
              QDialog::Accepted);
    // Enter also closes while the key list has the focus, as after selecting some of it.
    EXPECT_EQ(ShowModally([&] {
                  Window.KeyList.setFocus();
                  QTest::keyClick(&Window.KeyList, Qt::Key_Enter);
              }),
              QDialog::Accepted);

    bool openAfterEscape = false;
    EXPECT_EQ(ShowModally([&] {
                  QTest::keyClick(FocusedControl(Window), Qt::Key_Escape);
                  openAfterEscape = Window.isVisible();
                  Window.close();
                  openAfterEscape = openAfterEscape && Window.isVisible();
                  Window.done(QDialog::Accepted);
              }),
              QDialog::Accepted);
    EXPECT_TRUE(openAfterEscape);
}

} // namespace
