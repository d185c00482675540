// The options window on a real display, with the directory chooser and the boxes answered from a
// script: what it shows for a record and writes back, the checks of OK, and how the user's
// clicks and keys choose among the options.

#include "OptionsWindow.h"
#include "AnalysisOptionsPage.h"
#include "GuiTestMain.h"
#include "Options.h"
#include "OverMainWindowTest.h"
#include "RecordingUiServices.h"
#include "ViewOptionsPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
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
        Window.ShotBounds = [this] { return Bounds; };
    }

    // True when OK, pressed with the mouse, closed the window accepted.
    bool PressOk() {
        QTest::mouseClick(Window.OkButton, Qt::LeftButton);
        return !Window.isVisible() && Window.result() == QDialog::Accepted;
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
    TOptionsWindow Window{&MainWindow};
    QSize Bounds{800, 560};
};

TEST_F(OptionsWindow, IsAFixedWindowCentredOnTheMainWindowWithEveryCaptionWholeAndTheDefaults) {
    ShowAndWait(Window, true);
    EXPECT_EQ(Window.size(), QSize(342, 288));
    EXPECT_EQ(Window.minimumSize(), Window.maximumSize());
    EXPECT_LE((Window.geometry().center() - MainWindow.geometry().center()).manhattanLength(), 2);
    const std::vector<QAbstractButton*> captioned = {
        Window.AskBeforeOverwriting, Window.BesideLogButton,  Window.AskFolderButton,
        Window.FixedFolderButton,    Window.PercentageButton, Window.FixedWidthButton,
        Window.FixedHeightButton};
    for (QAbstractButton* button : captioned) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_GE(button->width(), button->sizeHint().width());
    }
    const std::vector<QWidget*> rightmost = {Window.AskFolderButton, Window.DirectoryButton,
                                             Window.PercentageLabel, Window.HeightField,
                                             Window.OkButton};
    for (QWidget* control : rightmost) {
        EXPECT_TRUE(
            Window.rect().contains(QRect(control->mapTo(&Window, QPoint()), control->size())));
    }
    EXPECT_EQ(Window.FixedFolderButton->width(), 297);
    EXPECT_EQ(Window.DirectoryButton->size(), QSize(25, 21));
    EXPECT_EQ(Window.PercentageSlider->width(), 169);
    EXPECT_TRUE(Window.OkButton->isDefault());

    EXPECT_FALSE(Window.AskBeforeOverwriting->isChecked());
    EXPECT_TRUE(Window.BesideLogButton->isChecked());
    EXPECT_TRUE(Window.PercentageButton->isChecked());
    EXPECT_EQ(Window.PercentageLabel->text(), "100%");
    // The two groups are exclusive each on its own.
    Click(Window.AskFolderButton);
    Click(Window.FixedHeightButton);
    EXPECT_FALSE(Window.BesideLogButton->isChecked() || Window.PercentageButton->isChecked());
    Window.reject();
}

TEST_F(OptionsWindow, FillShowsOnlyWhatTheRecordNamesAndApplyWritesTheControlsBackOnce) {
    TOptions record{"/old/shots", true, TShotPlace::AskEachTime, TShotSizing::FixedWidth, 800,
                    45,           3};
    Window.FillFromOptions(record);
    EXPECT_EQ(Window.ViewsPage->WaitingLimitField->value(), 45);
    EXPECT_EQ(Window.ViewsPage->TrailSecondsField->value(), 3);
    EXPECT_TRUE(Window.AskBeforeOverwriting->isChecked() && Window.AskFolderButton->isChecked() &&
                Window.FixedWidthButton->isChecked());
    EXPECT_EQ(Window.WidthField->text(), "800");
    EXPECT_EQ(Window.FixedFolderButton->text(), "this directory:");
    EXPECT_EQ(Window.PercentageSlider->value(), 100);
    EXPECT_EQ(Window.HeightField->text(), "480");
    Window.ApplyToOptions();
    EXPECT_EQ(record.ScreenShotSaveDirectory, "");
    EXPECT_EQ(record.ScreenShotResizeValue, 800);
    EXPECT_EQ(record.WaitingLimit, 45);
    EXPECT_EQ(record.TrailSeconds, 3);
    record.ScreenShotResizeValue = 5;
    Window.ApplyToOptions(); // the record is forgotten once applied
    EXPECT_EQ(record.ScreenShotResizeValue, 5);

    // A percentage or seconds beyond their controls are held to them.
    TOptions percent{"", false, TShotPlace::BesideLog, TShotSizing::Percentage, 250, 5000, 0};
    Window.FillFromOptions(percent);
    EXPECT_EQ(Window.PercentageLabel->text(), "100%");
    Window.ApplyToOptions();
    EXPECT_EQ(percent.ShotSizing, TShotSizing::Percentage);
    EXPECT_EQ(percent.ScreenShotResizeValue, 100);
    EXPECT_EQ(percent.WaitingLimit, 3600);
    EXPECT_EQ(percent.TrailSeconds, 1);

    // The measures of the analyses in metres and persons/m², kept in millimetres and tenths.
    TOptions measures;
    measures.CellSizeMm = 450;
    measures.DensityWindowMm = 99999;
    measures.CongestionDensity = 35;
    measures.SignificantShare = 25;
    Window.FillFromOptions(measures);
    EXPECT_EQ(Window.AnalysisPage->CellSizeField->text(), "0.450 m");
    EXPECT_EQ(Window.AnalysisPage->DensityField->text(), "3.5 persons/m²");
    Window.AnalysisPage->CellSizeField->setValue(0.4);
    Window.ApplyToOptions();
    EXPECT_EQ(measures.CellSizeMm, 400);
    EXPECT_EQ(measures.DensityWindowMm, 50000) << "held to the field";
    EXPECT_EQ(measures.CongestionDensity, 35);
    EXPECT_EQ(measures.SignificantShare, 25);

    // An unknown resize option leaves the resize controls as they were.
    TOptions fixedHeight{"", false, TShotPlace::BesideLog, TShotSizing::FixedHeight, 300},
        unknown{"", false, TShotPlace::BesideLog, TShotSizing{7}, 37};
    Window.FillFromOptions(fixedHeight);
    Window.FillFromOptions(unknown);
    Window.ApplyToOptions();
    EXPECT_EQ(unknown.ShotSizing, TShotSizing::FixedHeight);
    EXPECT_EQ(unknown.ScreenShotResizeValue, 300);
}

TEST_F(OptionsWindow, TheFixedFolderShowsTheEndOfItsDirectoryAndWithoutOneOpensTheChooserAtOnce) {
    TOptions record{"", false, TShotPlace::FixedFolder, TShotSizing::Percentage, 100};
    Window.FillFromOptions(record);
    EXPECT_EQ(Ui.DirectoryStarts, std::vector<std::string>{""});
    EXPECT_FALSE(Window.isVisible());
    EXPECT_TRUE(Window.BesideLogButton->isChecked()); // the chooser was cancelled

    Ui.DirectoryAnswers = {"/data/shots"};
    Window.FillFromOptions(record);
    EXPECT_TRUE(Window.FixedFolderButton->isChecked());
    EXPECT_EQ(Window.FixedFolderButton->text(), "this directory: /data/shots");
    Window.ApplyToOptions();
    EXPECT_EQ(record.ShotPlace, TShotPlace::FixedFolder);
    EXPECT_EQ(record.ScreenShotSaveDirectory, "/data/shots");

    const QString longPath = "/home/someone/projects/evacuation/ferry/runs/2024/final/screen&shots";
    TOptions stored{longPath, false, TShotPlace::FixedFolder, TShotSizing::Percentage, 100};
    Window.FillFromOptions(stored);
    EXPECT_EQ(Ui.DirectoryStarts.size(), 2U);
    const QString caption = Window.FixedFolderButton->text();
    EXPECT_TRUE(caption.startsWith(QString::fromUtf8("this directory: \u2026")));
    EXPECT_TRUE(caption.endsWith("screen&&shots")) << caption.toStdString();
    EXPECT_LE(Window.fontMetrics().horizontalAdvance(caption.mid(16).replace("&&", "&")), 200);
    EXPECT_LE(Window.FixedFolderButton->sizeHint().width(), Window.FixedFolderButton->width());
}

TEST_F(OptionsWindow, OkChecksAFixedSizeAgainstTheBoundsOfThatMomentWithBothEndsIncluded) {
    const struct {
        QLineEdit* Edit;
        QString Text;
        std::string Complaint;
    } cases[] = {
        {Window.WidthField, "0", ""},
        {Window.WidthField, "800", ""},
        {Window.WidthField, "801", BoundsMessage("width", 800)},
        {Window.WidthField, "-1", BoundsMessage("width", 800)},
        {Window.WidthField, "abc", BoundsMessage("width", 800)},
        {Window.HeightField, "560", ""},
        {Window.HeightField, "561", BoundsMessage("height", 560)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        Ui.Messages.clear();
        ShowAndWait(Window, true);
        Click(c.Edit); // chooses the fixed size
        c.Edit->setText(c.Text);
        EXPECT_EQ(PressOk(), c.Complaint.empty());
        EXPECT_EQ(Boxes(), c.Complaint.empty() ? std::vector<std::string>{}
                                               : std::vector<std::string>{c.Complaint});
        Window.reject();
    }
    ShowAndWait(Window, true);
    Click(Window.WidthField);
    Window.WidthField->setText("900");
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
    Window.FillFromOptions(chosen);
    Window.FillFromOptions(empty);
    ShowAndWait(Window, true);
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Boxes(), std::vector<std::string>{BoundsMessage("width", 800)});
    EXPECT_TRUE(Window.isVisible());
    Window.WidthField->setText("640");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Boxes().back(),
              "Error: Please choose a directory in which you want to save the screen shots.");

    Click(Window.AbortButton);
    EXPECT_EQ(Window.result(), QDialog::Rejected);
    EXPECT_EQ(empty.ScreenShotResizeValue, 5000);
}

TEST_F(OptionsWindow, ACancelledChooserFallsBackToOptionOneButKeepsTheDirectoryChosenBefore) {
    TOptions record;
    Window.FillFromOptions(record);
    ShowAndWait(Window, true);
    Ui.DirectoryAnswers = {"/data/first"};
    Click(Window.FixedFolderButton);
    Click(Window.FixedFolderButton); // already checked: runs nothing
    EXPECT_EQ(Ui.DirectoryStarts, std::vector<std::string>{""});

    Click(Window.DirectoryButton);
    EXPECT_EQ(Ui.DirectoryStarts.back(), "/data/first");
    EXPECT_TRUE(Window.BesideLogButton->isChecked());
    EXPECT_EQ(Window.FixedFolderButton->text(), "this directory: /data/first");

    Click(Window.FixedFolderButton);
    EXPECT_EQ(Ui.DirectoryStarts.size(), 2U);
    EXPECT_TRUE(PressOk());
    Window.ApplyToOptions();
    EXPECT_EQ(record.ShotPlace, TShotPlace::FixedFolder);
    EXPECT_EQ(record.ScreenShotSaveDirectory, "/data/first");
}

TEST_F(OptionsWindow, AClickIntoASizeFieldChoosesItButTabbingThereAndTypingDoesNot) {
    ShowAndWait(Window, true);
    Window.PercentageSlider->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Window.PercentageSlider->hasFocus(); }));
    for (int presses = 0; presses < 10 && !Window.WidthField->hasFocus(); ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_TRUE(Window.WidthField->hasFocus());
    QTest::keyClicks(Window.WidthField, "7");
    EXPECT_EQ(Window.WidthField->text(), "7"); // the text was selected on the way in
    EXPECT_TRUE(Window.PercentageButton->isChecked());

    Click(Window.WidthField);
    EXPECT_TRUE(Window.FixedWidthButton->isChecked());
    Click(Window.HeightField);
    EXPECT_TRUE(Window.FixedHeightButton->isChecked());
    QTest::keyClick(Window.HeightField, Qt::Key_Return); // Enter is OK
    EXPECT_EQ(Window.result(), QDialog::Accepted);
}

// The seconds on the second page are reached by keys alone, and Enter in their field is OK.
TEST_F(OptionsWindow, TheViewSecondsAreTypedOnTheSecondPageAndEnterThereIsOk) {
    TOptions record;
    Window.FillFromOptions(record);
    ShowAndWait(Window, true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(Window.Pages->currentWidget(), Window.ViewsPage);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(Window.ViewsPage->TrailSecondsField->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "25");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "90");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(Window.result(), QDialog::Accepted);
    Window.ApplyToOptions();
    EXPECT_EQ(record.TrailSeconds, 25);
    EXPECT_EQ(record.WaitingLimit, 90);
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
