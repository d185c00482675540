// The Qt services on a real display: message boxes as the user sees and answers them, message
// processing; and the two text helpers of the platform library.

#include "QtUiServices.h"
#include "GuiTestMain.h"
#include "MessageNesting.h"
#include "TextConversion.h"
#include "VersionText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct TBoxSeen {
    bool Found = false;
    QString Title, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};

// Shows a box through the services and, once it is on screen, notes how it looks and lets
// `answer` close it.
std::pair<TMsgResult, TBoxSeen> ShowBox(const std::string& title, const std::string& text,
                                        TMsgIcon icon, TMsgButtons buttons,
                                        const std::function<void(QMessageBox&)>& answer) {
    TBoxSeen seen;
    QObject context; // cancels the answer if no box ever shows
    QTimer::singleShot(0, &context, [&] {
        QMessageBox* box = nullptr;
        const bool shown = QTest::qWaitFor([&] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box != nullptr && box->isVisible();
        });
        if (shown) {
            seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            answer(*box);
        }
    });
    TQtUiServices services;
    const TMsgResult result = services.MessageBox(title, text, icon, buttons);
    return {result, seen};
}

void Click(QMessageBox& box, QMessageBox::StandardButton button) {
    QTest::mouseClick(box.button(button), Qt::LeftButton);
}

void PressEscape(QMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
}

TEST(QtUiServices, MessageBoxShowsTitleTextIconAndButtons) {
    const struct {
        std::string Title, Text;
        TMsgIcon Icon;
        TMsgButtons Buttons;
        QString ShownText;
        QMessageBox::Icon ShownIcon;
        QMessageBox::StandardButtons ShownButtons;
    } cases[] = {
        {"Warning", "Deck 3 has no caption.", TMsgIcon::Exclamation, TMsgButtons::Ok,
         "Deck 3 has no caption.", QMessageBox::Warning, QMessageBox::Ok},
        {"Error", "Cannot open caf\xe9.3dl", TMsgIcon::Error, TMsgButtons::Ok,
         QString::fromUtf8("Cannot open caf\u00e9.3dl"), QMessageBox::Critical, QMessageBox::Ok},
        {"Warning!", "Overwrite <b>a.jpg</b>?", TMsgIcon::None, TMsgButtons::OkCancel,
         "Overwrite <b>a.jpg</b>?", QMessageBox::NoIcon, QMessageBox::Ok | QMessageBox::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title + ": " + c.Text);
        const auto [result, seen] = ShowBox(c.Title, c.Text, c.Icon, c.Buttons,
                                            [](QMessageBox& box) { Click(box, QMessageBox::Ok); });
        ASSERT_TRUE(seen.Found) << "no modal message box appeared";
        EXPECT_EQ(seen.Title, QString::fromStdString(c.Title));
        EXPECT_EQ(seen.Text, c.ShownText);
        EXPECT_EQ(seen.Icon, c.ShownIcon);
        EXPECT_EQ(seen.Buttons, c.ShownButtons);
        EXPECT_EQ(result, TMsgResult::Ok);
    }
}

TEST(QtUiServices, MessageBoxAnswersWithTheChoiceAndEscapeMeansCancelOnlyWhenThereIsOne) {
    const auto ask = [](TMsgButtons buttons, const std::function<void(QMessageBox&)>& answer) {
        return ShowBox("Question", "Go on?", TMsgIcon::None, buttons, answer).first;
    };
    EXPECT_EQ(ask(TMsgButtons::OkCancel, [](auto& box) { Click(box, QMessageBox::Cancel); }),
              TMsgResult::Cancel);
    EXPECT_EQ(ask(TMsgButtons::OkCancel, [](auto& box) { Click(box, QMessageBox::Ok); }),
              TMsgResult::Ok);
    EXPECT_EQ(ask(TMsgButtons::OkCancel, PressEscape), TMsgResult::Cancel);
    EXPECT_EQ(ask(TMsgButtons::Ok, PressEscape), TMsgResult::Ok);
}

TEST(QtUiServices, ProcessMessagesRunsWhatIsPending) {
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    TQtUiServices().ProcessMessages();
    EXPECT_TRUE(ran);
}

// What waits for the nesting must never run while code that let messages run still waits: not
// inside it, not at its end (the waiting code goes on from there), not inside the next one.
TEST(MessageNesting, WhatWaitsRunsFromTheEventLoopOnlyAfterEveryNesting) {
    QObject context;
    int runs = 0;
    {
        const TMessageNesting step;
        TMessageNesting::RunWhenNotNested(&context, [&] { ++runs; });
        TQtUiServices().ProcessMessages();
        EXPECT_EQ(runs, 0);
    }
    EXPECT_EQ(runs, 0);
    ProcessPendingMessages(); // a nesting of its own: the action comes to run inside it
    EXPECT_EQ(runs, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);

    // A message box is a nesting too; and what waits is dropped with its context.
    auto gone = std::make_unique<QObject>();
    ShowBox("Box", "Nested", TMsgIcon::None, TMsgButtons::Ok, [&](QMessageBox& box) {
        EXPECT_TRUE(TMessageNesting::Active());
        TMessageNesting::RunWhenNotNested(&context, [&] { ++runs; });
        TMessageNesting::RunWhenNotNested(gone.get(), [&] { runs += 100; });
        PressEscape(box);
    });
    gone.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(TMessageNesting::Active());
}

TEST(TextConversion, ValidUtf8IsReadAsUtf8AndAnythingElseAsLatin1) {
    const struct {
        std::string Bytes;
        QString Text;
    } cases[] = {
        {"", ""},
        {"Deck 1", "Deck 1"},
        {"Caf\xc3\xa9 \xe2\x82\xac", QString::fromUtf8("Caf\u00e9 \u20ac")},
        {"Caf\xe9", QString::fromUtf8("Caf\u00e9")},
        // One bad byte makes the whole text Latin-1, including the valid UTF-8 pair before it.
        {"\xc3\xa9 \xe9", QString::fromUtf8("\u00c3\u00a9 \u00e9")},
        {"Stair \xc3", QString::fromUtf8("Stair \u00c3")},         // cut-off sequence
        {"\xc0\xaf", QString::fromUtf8("\u00c0\u00af")},           // overlong form of '/'
        {"\xed\xa0\x80", QString::fromUtf8("\u00ed\u00a0\u0080")}, // a surrogate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bytes);
        EXPECT_EQ(FromFileText(c.Bytes), c.Text);
    }
}

TEST(VersionText, JoinsTwoToFourPartsOfTheCompiledVersion) {
    EXPECT_EQ(FileVersionText(3), QStringLiteral(AMBLA_EXPECTED_VERSION));
    const TFileVersion version{1, 20, 3, 4};
    EXPECT_EQ(FileVersionText(version, 2), "1.20");
    EXPECT_EQ(FileVersionText(version, 3), "1.20.3");
    EXPECT_EQ(FileVersionText(version, 4), "1.20.3.4");
    EXPECT_EQ(FileVersionText(version, 0), "1.20");
    EXPECT_EQ(FileVersionText(version, 9), "1.20.3.4");
    EXPECT_EQ(FileVersionText(std::nullopt, 3), "No file information available.");
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
