#pragma once
// The options window: where screen shots are saved, whether overwriting one is asked first, and
// how large they are. The program makes it once and reuses it, so between showings the controls
// keep what the user last did, and the directory chosen last is offered again.

#include "CentredDialog.h"

#include <QDialog>
#include <QSize>
#include <QString>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QWidget;
class TOptions1;

class TOptionsForm : public TCentredDialog {
    Q_OBJECT

public:
    explicit TOptionsForm(QWidget* parent);

    // The bounds of the OK check, asked for at the moment OK is pressed: width W = the main
    // window's client width, height B = the height of the 3D view.
    std::function<QSize()> ShotBounds;

    // Shows the record's values; the record is remembered for ApplyToOptions. Save option 3 with
    // no directory opens the directory chooser at once.
    void FillFromOptions(TOptions1& options);
    // Writes the controls into the remembered record and forgets it; without one, nothing.
    void ApplyToOptions();

    void BitBtn1Click();      // OK: closes only when every check passes
    void BitBtn7Click();      // chooses the directory of save option 3
    void RadioButton3Click(); // save option 3 became checked
    void TrackBar1Change();
    void Edit1Click(); // a mouse press into the fixed width
    void Edit2Click(); // a mouse press into the fixed height

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;     // "Screen Shots"
    QCheckBox* CheckBox1 = nullptr;   // ask before overwriting
    QGroupBox* RadioGroup1 = nullptr; // where to save
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QGroupBox* GroupBox1 = nullptr; // how to resize
    QRadioButton* RadioButton4 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BitBtn2 = nullptr; // Abort
    QPushButton* BitBtn1 = nullptr; // OK

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPage();
    void BuildSaveGroup(QWidget& page);
    void BuildResizeGroup(QWidget& page);
    void BuildButtons();
    void FitFontToRows();
    int WidestRow() const;

    void FillSaveOption(const TOptions1& options);
    void FillResizeOption(const TOptions1& options);
    void ApplySaveOption(TOptions1& options) const;
    void ApplyResizeOption(TOptions1& options) const;

    void SetChosenDirectory(const QString& directory);
    int DirectoryRoom(const QString& prefix) const;
    // Each check of OK: its complaint, or an empty text when it passes.
    QString DirectoryProblem() const;
    QString WidthProblem() const;
    QString HeightProblem() const;
    QSize Bounds() const;

    // The directory of save option 3, kept between showings.
    QString ChosenDirectory;
    // The record being edited, between FillFromOptions and ApplyToOptions; not owned.
    TOptions1* Options = nullptr;
};
