// The Qt services on a real display: message boxes and file dialogs as the user sees and answers
// them, message processing; and the two text helpers of the platform library.

#include "QtUiServices.h"
#include "GuiTestMain.h"
#include "MessageNesting.h"
#include "TextConversion.h"
#include "VersionText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

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

// Acts on the modal windows the services open, each step on the next window of its kind once it
// is on screen. A window still open after ten seconds is rejected, so that a fault cannot hang
// the test.
class TModalScript {
public:
    struct TStep {
        std::function<bool(QWidget&)> Fits;
        std::function<void(QWidget&)> Act;
    };

    explicit TModalScript(std::vector<TStep> steps) : Steps(std::move(steps)) {
        QObject::connect(&Timer, &QTimer::timeout, [this] { Tick(); });
        Timer.start(20);
        Clock.start();
    }
    bool Done() const { return Next == Steps.size(); }

private:
    void Tick() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || !window->isVisible()) {
            return;
        }
        if (Clock.elapsed() > 10000) {
            if (auto* dialog = qobject_cast<QDialog*>(window)) {
                dialog->reject();
            }
            return;
        }
        if (Starting || Next == Steps.size() || !Steps[Next].Fits(*window) ||
            !QTest::qWaitForWindowExposed(window)) {
            return;
        }
        // A step may open the next window and wait inside it, and a timer does not fire while it
        // runs: the step runs from a timer of its own.
        Starting = true;
        QTimer::singleShot(0, window, [this, window, &step = Steps[Next++]] {
            Starting = false;
            step.Act(*window);
        });
    }

    std::vector<TStep> Steps;
    std::size_t Next = 0;
    bool Starting = false;
    QTimer Timer;
    QElapsedTimer Clock;
};

// Runs `call` while the script answers the windows it opens.
template <class TCall> auto Scripted(std::vector<TModalScript::TStep> steps, TCall call) {
    const TModalScript script(std::move(steps));
    auto result = call();
    EXPECT_TRUE(script.Done()) << "a window the script expected never showed";
    return result;
}

template <class TWindow> TModalScript::TStep On(std::function<void(TWindow&)> act) {
    return {[](QWidget& window) { return qobject_cast<TWindow*>(&window) != nullptr; },
            [act](QWidget& window) { act(*qobject_cast<TWindow*>(&window)); }};
}

// Types into the dialog's name field as the user does, replacing what it held.
void TypeName(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    // The test display has no window manager to give the keys back once a box has closed.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, name);
}

QString NameTyped(QFileDialog& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit != nullptr ? edit->text() : QStringLiteral("(no name field)");
}

// Clicks the dialog's accept button (Open, Save or Choose), which must be enabled.
void ClickAccept(QFileDialog& dialog, QDialogButtonBox::StandardButton which) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton* button = buttons->button(which);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(QtUiServices, SaveDialogProposesTheNameAddsTheSuffixAndAsksBeforeReplacingAFile) {
    QTemporaryDir dir;
    QFile(dir.filePath("shot.jpg")).open(QIODevice::WriteOnly);
    const TFileDialogRequest request{"Save screen shot", "JPEG image (*.jpg)",
                                     dir.path().toStdString(), "shot.jpg", "jpg"};
    const auto save = [&request] { return TQtUiServices().SaveFileName(request); };
    QString replaceQuestion;
    const auto declined =
        Scripted({On<QFileDialog>([&](QFileDialog& dialog) {
                      EXPECT_EQ(dialog.windowTitle(), "Save screen shot");
                      EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
                      EXPECT_EQ(dialog.directory().absolutePath(), dir.path());
                      EXPECT_EQ(NameTyped(dialog), "shot.jpg");
                      ClickAccept(dialog, QDialogButtonBox::Save);
                  }),
                  On<QMessageBox>([&](QMessageBox& box) {
                      replaceQuestion = box.text();
                      QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
                  }),
                  On<QFileDialog>([](QFileDialog& dialog) {
                      TypeName(dialog, "harbour");
                      ClickAccept(dialog, QDialogButtonBox::Save);
                  })},
                 save);
    EXPECT_EQ(declined, dir.filePath("harbour.jpg").toStdString());
    EXPECT_TRUE(replaceQuestion.contains("shot.jpg")) << replaceQuestion.toStdString();

    const auto replaced = Scripted(
        {On<QFileDialog>([](QFileDialog& dialog) { ClickAccept(dialog, QDialogButtonBox::Save); }),
         On<QMessageBox>([](QMessageBox& box) {
             QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
         })},
        save);
    EXPECT_EQ(replaced, dir.filePath("shot.jpg").toStdString());

    const auto cancelled =
        Scripted({On<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); })}, save);
    EXPECT_EQ(cancelled, std::nullopt);
}

TEST(QtUiServices, DirectoryChooserTakesATypedNewDirectoryAndCreatesItOnlyWhenTheUserAgrees) {
    QTemporaryDir root;
    QFile(root.filePath("blocker")).open(QIODevice::WriteOnly);
    const std::string start = root.path().toStdString();
    // Types `typed` into the chooser, chooses it and answers the boxes that follow, in turn, with
    // `answers`; returns the directory chosen and the boxes' texts.
    const auto choose = [&](const QString& typed,
                            std::vector<QMessageBox::StandardButton> answers) {
        std::vector<TModalScript::TStep> steps{On<QFileDialog>([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Screen shots");
            EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
            EXPECT_EQ(dialog.directory().absolutePath(), root.path());
            if (!typed.isEmpty()) {
                TypeName(dialog, typed);
            }
            ClickAccept(dialog, QDialogButtonBox::Open);
        })};
        QStringList texts;
        for (const QMessageBox::StandardButton answer : answers) {
            steps.push_back(On<QMessageBox>([&texts, answer](QMessageBox& box) {
                texts << box.windowTitle() + ": " + box.text();
                QTest::mouseClick(box.button(answer), Qt::LeftButton);
            }));
        }
        const std::optional<std::string> chosen = Scripted(std::move(steps), [&] {
            return TQtUiServices().ChooseDirectory("Screen shots", start);
        });
        return std::pair(chosen, texts);
    };

    const QString fresh = root.filePath("fresh/inner");
    const auto [created, asked] = choose("fresh/inner", {QMessageBox::Ok});
    EXPECT_EQ(created, fresh.toStdString());
    EXPECT_TRUE(QFileInfo(fresh).isDir());
    EXPECT_EQ(asked,
              QStringList{"Confirm: The directory\n" + fresh + "\ndoes not exist. Create it?"});

    const auto [declined, askedAgain] = choose("other", {QMessageBox::Cancel});
    EXPECT_EQ(declined, std::nullopt);
    EXPECT_EQ(askedAgain.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(root.filePath("other")));

    const QString blocked = root.filePath("blocker/sub");
    const auto [failed, told] = choose("blocker/sub", {QMessageBox::Ok, QMessageBox::Ok});
    EXPECT_EQ(failed, std::nullopt);
    ASSERT_EQ(told.size(), 2);
    EXPECT_EQ(told[1], "Error: The directory\n" + blocked + "\ncould not be created.");

    // A directory that exists is taken without a question.
    const auto [existing, none] = choose("", {});
    EXPECT_EQ(existing, start);
    EXPECT_TRUE(none.isEmpty());
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
