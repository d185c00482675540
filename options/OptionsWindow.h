#pragma once
// The options window: where screen shots are saved, whether overwriting one is asked first, and
// how large they are; on a second page, the seconds the waiting colours and the trails span; on a
// third, the file type of shots and the captions; on a fourth, how congestion and flows are
// measured.
// The program makes it once and reuses it, so between showings the controls
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
class TOptions;
class TAnalysisOptionsPage;
class TPictureOptionsPage;
class TViewOptionsPage;

class TOptionsWindow : public TCentredDialog {
    Q_OBJECT

public:
    explicit TOptionsWindow(QWidget* parent);

    // The bounds of the OK check, asked for at the moment OK is pressed: width W = the main
    // window's client width, height B = the height of the 3D view.
    std::function<QSize()> ShotBounds;

    // Shows the record's values; the record is remembered for ApplyToOptions. The fixed folder with
    // no directory opens the directory chooser at once.
    void FillFromOptions(TOptions& options);
    // Writes the controls into the remembered record and forgets it; without one, nothing.
    void ApplyToOptions();

    void CheckAndAccept();  // OK: closes only when every check passes
    void ChooseDirectory(); // of the fixed folder
    void FixedFolderChosen();
    void PercentageChanged();
    void WidthFieldPressed();  // a mouse press into the fixed width
    void HeightFieldPressed(); // a mouse press into the fixed height

    QTabWidget* Pages = nullptr;
    QWidget* ShotsPage = nullptr;
    QCheckBox* AskBeforeOverwriting = nullptr;
    QGroupBox* PlaceGroup = nullptr; // where to save
    QRadioButton* BesideLogButton = nullptr;
    QRadioButton* AskFolderButton = nullptr;
    QRadioButton* FixedFolderButton = nullptr;
    QPushButton* DirectoryButton = nullptr;
    QGroupBox* SizeGroup = nullptr; // how to resize
    QRadioButton* PercentageButton = nullptr;
    QSlider* PercentageSlider = nullptr;
    QLabel* PercentageLabel = nullptr;
    QRadioButton* FixedWidthButton = nullptr;
    QLineEdit* WidthField = nullptr;
    QRadioButton* FixedHeightButton = nullptr;
    QLineEdit* HeightField = nullptr;
    TViewOptionsPage* ViewsPage = nullptr;
    TPictureOptionsPage* PicturesPage = nullptr;
    TAnalysisOptionsPage* AnalysisPage = nullptr;
    QPushButton* AbortButton = nullptr;
    QPushButton* OkButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPage();
    void BuildSaveGroup(QWidget& page);
    void BuildResizeGroup(QWidget& page);
    void BuildButtons();
    void FitFontToRows();
    int WidestRow() const;

    void FillSaveOption(const TOptions& options);
    void FillResizeOption(const TOptions& options);
    void ApplySaveOption(TOptions& options) const;
    void ApplyResizeOption(TOptions& options) const;

    void SetChosenDirectory(const QString& directory);
    int DirectoryRoom(const QString& prefix) const;
    // Each check of OK: its complaint, or an empty text when it passes.
    QString DirectoryProblem() const;
    QString WidthProblem() const;
    QString HeightProblem() const;
    QSize Bounds() const;

    // The fixed folder, kept between showings.
    QString ChosenDirectory;
    // The record being edited, between FillFromOptions and ApplyToOptions; not owned.
    TOptions* Options = nullptr;
};
