// The options window on a real display, with the directory chooser and the boxes answered from a
// script: what it shows for a record and writes back, the checks of OK, and how the user's
// clicks and keys choose among the options.

#include "OptionsWindow.h"
#include "GuiTestMain.h"
#include "Options.h"
#include "OverMainWindowTest.h"
#include "RecordingUiServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string BoundsMessage(const std::string& dimension, int bound) {
    return "Error: The " + dimension + " of the screen shot should be inbetween 0\n(which of " +
           "course makes no sense) and the " + dimension + " of your application\nwindow " +
           "(currently " + std::to_string(bound) + " pixels).";
}

class OptionsWindow : public TOverMainWindowTest {
protected:
    void SetUp() override {
        TOverMainWindowTest::SetUp();
        Form.ShotBounds = [this] { return Bounds; };
    }

    // True when OK, pressed with the mouse, closed the window accepted.
    bool PressOk() {
        QTest::mouseClick(Form.OkButton, Qt::LeftButton);
        return !Form.isVisible() && Form.result() == QDialog::Accepted;
    }

    // The boxes shown so far, as "Title: text".
    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const TRecordedMessage& box : Ui.Messages) {
            boxes.push_back(box.Title + ": " + box.Text);
        }
        return boxes;
    }

    // Clicks near the left end, where a radio button's circle and caption are.
    static void Click(QWidget* widget) {
        const QPoint point(std::min(10, widget->width() / 2), widget->height() / 2);
        QTest::mouseClick(widget, Qt::LeftButton, {}, point);
    }

    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TOptionsWindow Form{&MainWindow};
    QSize Bounds{800, 560};
};

TEST_F(OptionsWindow, IsAFixedWindowCentredOnTheMainWindowWithEveryCaptionWholeAndTheDefaults) {
    ShowAndWait(Form, true);
    EXPECT_EQ(Form.size(), QSize(342, 288));
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize());
    EXPECT_LE((Form.geometry().center() - MainWindow.geometry().center()).manhattanLength(), 2);
    const std::vector<QAbstractButton*> captioned = {
        Form.AskBeforeOverwriting, Form.BesideLogButton,  Form.AskFolderButton,
        Form.FixedFolderButton,    Form.PercentageButton, Form.FixedWidthButton,
        Form.FixedHeightButton};
    for (QAbstractButton* button : captioned) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_GE(button->width(), button->sizeHint().width());
    }
    const std::vector<QWidget*> rightmost = {Form.AskFolderButton, Form.DirectoryButton,
                                             Form.PercentageLabel, Form.HeightField, Form.OkButton};
    for (QWidget* control : rightmost) {
        EXPECT_TRUE(Form.rect().contains(QRect(control->mapTo(&Form, QPoint()), control->size())));
    }
    EXPECT_EQ(Form.FixedFolderButton->width(), 297);
    EXPECT_EQ(Form.DirectoryButton->size(), QSize(25, 21));
    EXPECT_EQ(Form.PercentageSlider->width(), 169);
    EXPECT_TRUE(Form.OkButton->isDefault());

    EXPECT_FALSE(Form.AskBeforeOverwriting->isChecked());
    EXPECT_TRUE(Form.BesideLogButton->isChecked());
    EXPECT_TRUE(Form.PercentageButton->isChecked());
    EXPECT_EQ(Form.PercentageLabel->text(), "100%");
    // The two groups are exclusive each on its own.
    Click(Form.AskFolderButton);
    Click(Form.FixedHeightButton);
    EXPECT_FALSE(Form.BesideLogButton->isChecked() || Form.PercentageButton->isChecked());
    Form.reject();
}

TEST_F(OptionsWindow, FillShowsOnlyWhatTheRecordNamesAndApplyWritesTheControlsBackOnce) {
    TOptions record{"/old/shots", true, TShotPlace::AskEachTime, TShotSizing::FixedWidth, 800};
    Form.FillFromOptions(record);
    EXPECT_TRUE(Form.AskBeforeOverwriting->isChecked() && Form.AskFolderButton->isChecked() &&
                Form.FixedWidthButton->isChecked());
    EXPECT_EQ(Form.WidthField->text(), "800");
    EXPECT_EQ(Form.FixedFolderButton->text(), "this directory:");
    EXPECT_EQ(Form.PercentageSlider->value(), 100);
    EXPECT_EQ(Form.HeightField->text(), "480");
    Form.ApplyToOptions();
    EXPECT_EQ(record.ScreenShotSaveDirectory, "");
    EXPECT_EQ(record.ScreenShotResizeValue, 800);
    record.ScreenShotResizeValue = 5;
    Form.ApplyToOptions(); // the record is forgotten once applied
    EXPECT_EQ(record.ScreenShotResizeValue, 5);

    // A percentage beyond the slider is held to it.
    TOptions percent{"", false, TShotPlace::BesideLog, TShotSizing::Percentage, 250};
    Form.FillFromOptions(percent);
    EXPECT_EQ(Form.PercentageLabel->text(), "100%");
    Form.ApplyToOptions();
    EXPECT_EQ(percent.ShotSizing, TShotSizing::Percentage);
    EXPECT_EQ(percent.ScreenShotResizeValue, 100);

    // An unknown resize option leaves the resize controls as they were.
    TOptions fixedHeight{"", false, TShotPlace::BesideLog, TShotSizing::FixedHeight, 300},
        unknown{"", false, TShotPlace::BesideLog, TShotSizing{7}, 37};
    Form.FillFromOptions(fixedHeight);
    Form.FillFromOptions(unknown);
    Form.ApplyToOptions();
    EXPECT_EQ(unknown.ShotSizing, TShotSizing::FixedHeight);
    EXPECT_EQ(unknown.ScreenShotResizeValue, 300);
}

TEST_F(OptionsWindow, TheFixedFolderShowsTheEndOfItsDirectoryAndWithoutOneOpensTheChooserAtOnce) {
    TOptions record{"", false, TShotPlace::FixedFolder, TShotSizing::Percentage, 100};
    Form.FillFromOptions(record);
    EXPECT_EQ(Ui.DirectoryStarts, std::vector<std::string>{""});
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(Form.BesideLogButton->isChecked()); // the chooser was cancelled

    Ui.DirectoryAnswers = {"/data/shots"};
    Form.FillFromOptions(record);
    EXPECT_TRUE(Form.FixedFolderButton->isChecked());
    EXPECT_EQ(Form.FixedFolderButton->text(), "this directory: /data/shots");
    Form.ApplyToOptions();
    EXPECT_EQ(record.ShotPlace, TShotPlace::FixedFolder);
    EXPECT_EQ(record.ScreenShotSaveDirectory, "/data/shots");

    const QString longPath = "/home/someone/projects/evacuation/ferry/runs/2024/final/screen&shots";
    TOptions stored{longPath, false, TShotPlace::FixedFolder, TShotSizing::Percentage, 100};
    Form.FillFromOptions(stored);
    EXPECT_EQ(Ui.DirectoryStarts.size(), 2U);
    const QString caption = Form.FixedFolderButton->text();
    EXPECT_TRUE(caption.startsWith(QString::fromUtf8("this directory: \u2026")));
    EXPECT_TRUE(caption.endsWith("screen&&shots")) << caption.toStdString();
    EXPECT_LE(Form.fontMetrics().horizontalAdvance(caption.mid(16).replace("&&", "&")), 200);
    EXPECT_LE(Form.FixedFolderButton->sizeHint().width(), Form.FixedFolderButton->width());
}

TEST_F(OptionsWindow, OkChecksAFixedSizeAgainstTheBoundsOfThatMomentWithBothEndsIncluded) {
    const struct {
        QLineEdit* Edit;
        QString Text;
        std::string Complaint;
    } cases[] = {
        {Form.WidthField, "0", ""},
        {Form.WidthField, "800", ""},
        {Form.WidthField, "801", BoundsMessage("width", 800)},
        {Form.WidthField, "-1", BoundsMessage("width", 800)},
        {Form.WidthField, "abc", BoundsMessage("width", 800)},
        {Form.HeightField, "560", ""},
        {Form.HeightField, "561", BoundsMessage("height", 560)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        Ui.Messages.clear();
        ShowAndWait(Form, true);
        Click(c.Edit); // chooses the fixed size
        c.Edit->setText(c.Text);
        EXPECT_EQ(PressOk(), c.Complaint.empty());
        EXPECT_EQ(Boxes(), c.Complaint.empty() ? std::vector<std::string>{}
                                               : std::vector<std::string>{c.Complaint});
        Form.reject();
    }
    ShowAndWait(Form, true);
    Click(Form.WidthField);
    Form.WidthField->setText("900");
    EXPECT_FALSE(PressOk());
    Bounds = QSize(1024, 700);
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Ui.Messages.back().Icon, TMsgIcon::Error);
}

TEST_F(OptionsWindow, WhenSeveralChecksFailOnlyTheLastIsShownAndTheWindowStaysOpen) {
    // The fixed folder already checked, then filled with no directory: no chooser, and none chosen.
    Ui.DirectoryAnswers = {"/data/shots"};
    TOptions chosen{"", false, TShotPlace::FixedFolder, TShotSizing::Percentage, 100},
        empty{"", false, TShotPlace::FixedFolder, TShotSizing::FixedWidth, 5000};
    Form.FillFromOptions(chosen);
    Form.FillFromOptions(empty);
    ShowAndWait(Form, true);
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Boxes(), std::vector<std::string>{BoundsMessage("width", 800)});
    EXPECT_TRUE(Form.isVisible());
    Form.WidthField->setText("640");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Boxes().back(),
              "Error: Please choose a directory in which you want to save the screen shots.");

    Click(Form.AbortButton);
    EXPECT_EQ(Form.result(), QDialog::Rejected);
    EXPECT_EQ(empty.ScreenShotResizeValue, 5000);
}

TEST_F(OptionsWindow, ACancelledChooserFallsBackToOptionOneButKeepsTheDirectoryChosenBefore) {
    TOptions record;
    Form.FillFromOptions(record);
    ShowAndWait(Form, true);
    Ui.DirectoryAnswers = {"/data/first"};
    Click(Form.FixedFolderButton);
    Click(Form.FixedFolderButton); // already checked: runs nothing
    EXPECT_EQ(Ui.DirectoryStarts, std::vector<std::string>{""});

    Click(Form.DirectoryButton);
    EXPECT_EQ(Ui.DirectoryStarts.back(), "/data/first");
    EXPECT_TRUE(Form.BesideLogButton->isChecked());
    EXPECT_EQ(Form.FixedFolderButton->text(), "this directory: /data/first");

    Click(Form.FixedFolderButton);
    EXPECT_EQ(Ui.DirectoryStarts.size(), 2U);
    EXPECT_TRUE(PressOk());
    Form.ApplyToOptions();
    EXPECT_EQ(record.ShotPlace, TShotPlace::FixedFolder);
    EXPECT_EQ(record.ScreenShotSaveDirectory, "/data/first");
}

TEST_F(OptionsWindow, AClickIntoASizeFieldChoosesItButTabbingThereAndTypingDoesNot) {
    ShowAndWait(Form, true);
    Form.PercentageSlider->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Form.PercentageSlider->hasFocus(); }));
    for (int presses = 0; presses < 10 && !Form.WidthField->hasFocus(); ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_TRUE(Form.WidthField->hasFocus());
    QTest::keyClicks(Form.WidthField, "7");
    EXPECT_EQ(Form.WidthField->text(), "7"); // the text was selected on the way in
    EXPECT_TRUE(Form.PercentageButton->isChecked());

    Click(Form.WidthField);
    EXPECT_TRUE(Form.FixedWidthButton->isChecked());
    Click(Form.HeightField);
    EXPECT_TRUE(Form.FixedHeightButton->isChecked());
    QTest::keyClick(Form.HeightField, Qt::Key_Return); // Enter is OK
    EXPECT_EQ(Form.result(), QDialog::Accepted);
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
