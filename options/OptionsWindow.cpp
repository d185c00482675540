#include "OptionsWindow.h"

#include "AnalysisOptionsPage.h"
#include "Options.h"
#include "PictureOptionsPage.h"
#include "UiServices.h"
#include "ViewOptionsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ClientWidth = 342;
constexpr int ClientHeight = 288;
constexpr int ButtonStripHeight = 25;
constexpr int CheckBoxStripHeight = 34;
constexpr int SaveGroupHeight = 95;
constexpr int GroupGap = 8;
constexpr int DirectoryCaptionWidth = 297;
constexpr int DirectoryCaptionMaxPixels = 200; // the path's share of that caption
constexpr QSize DirectoryButtonSize(25, 21);
constexpr int TrackBarWidth = 169;
constexpr int EditWidth = 41;
constexpr int RowSpacing = 4;
// The width of a row of controls in either group: the fixed folder's caption and its button.
constexpr int RowWidth = DirectoryCaptionWidth + DirectoryButtonSize.width();
constexpr double SmallestPointSize = 7.0;

// The number in an edit field, or -1 when it holds none.
int NumberIn(const QLineEdit& edit) {
    bool isNumber = false;
    const int number = edit.text().toInt(&isNumber);
    return isNumber ? number : -1;
}

QRadioButton* AddRadioButton(QButtonGroup& group, const QString& caption, QWidget& parent) {
    auto* button = new QRadioButton(caption, &parent);
    group.addButton(button);
    return button;
}

// A fixed size must lie in 0..bound, both ends included; text that is no number fails.
QString SizeProblem(const QLineEdit& edit, int bound, const char* dimension) {
    const int size = NumberIn(edit);
    if (size >= 0 && size <= bound) {
        return {};
    }
    return QStringLiteral("The %1 of the screen shot should be inbetween 0\n"
                          "(which of course makes no sense) and the %1 of your application\n"
                          "window (currently %2 pixels).")
        .arg(QLatin1String(dimension))
        .arg(bound);
}

} // namespace

// A fixed dialog with only a close box in its title bar.
TOptionsWindow::TOptionsWindow(QWidget* parent)
    : TCentredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(ClientWidth, ClientHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Pages = new QTabWidget(this);
    layout->addWidget(Pages, 1);
    BuildPage();
    ViewsPage = new TViewOptionsPage;
    Pages->addTab(ViewsPage, QStringLiteral("Views"));
    PicturesPage = new TPictureOptionsPage;
    Pages->addTab(PicturesPage, QStringLiteral("Pictures"));
    AnalysisPage = new TAnalysisOptionsPage;
    Pages->addTab(AnalysisPage, QStringLiteral("Analysis"));
    BuildButtons();
    FitFontToRows();
}

void TOptionsWindow::BuildPage() {
    ShotsPage = new QWidget;
    Pages->addTab(ShotsPage, QStringLiteral("Screen Shots"));
    auto* layout = new QVBoxLayout(ShotsPage);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(0);

    auto* checkStrip = new QWidget(ShotsPage);
    checkStrip->setFixedHeight(CheckBoxStripHeight);
    auto* checkLayout = new QHBoxLayout(checkStrip);
    checkLayout->setContentsMargins(6, 0, 0, 0);
    AskBeforeOverwriting = new QCheckBox(QStringLiteral("Ask me before overwriting"), checkStrip);
    checkLayout->addWidget(AskBeforeOverwriting);
    layout->addWidget(checkStrip);

    BuildSaveGroup(*ShotsPage);
    layout->addWidget(PlaceGroup);
    layout->addSpacing(GroupGap);
    BuildResizeGroup(*ShotsPage);
    layout->addWidget(SizeGroup, 1);
}

void TOptionsWindow::BuildSaveGroup(QWidget& page) {
    PlaceGroup = new QGroupBox(QStringLiteral(" Save to: "), &page);
    PlaceGroup->setFixedHeight(SaveGroupHeight);
    auto* choices = new QButtonGroup(PlaceGroup);
    BesideLogButton =
        AddRadioButton(*choices, QStringLiteral("the same directory as log file"), *PlaceGroup);
    AskFolderButton = AddRadioButton(
        *choices, QStringLiteral("an assigned directory (each time a screen shot is saved)"),
        *PlaceGroup);
    FixedFolderButton = AddRadioButton(*choices, QStringLiteral("this directory:"), *PlaceGroup);
    FixedFolderButton->setFixedWidth(DirectoryCaptionWidth);
    BesideLogButton->setChecked(true);

    DirectoryButton = new QPushButton(PlaceGroup);
    DirectoryButton->setFixedSize(DirectoryButtonSize);
    DirectoryButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    DirectoryButton->setToolTip(QStringLiteral("choose screenshot directory"));
    DirectoryButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(PlaceGroup);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BesideLogButton);
    layout->addWidget(AskFolderButton);
    auto* directoryRow = new QHBoxLayout;
    directoryRow->setSpacing(0);
    directoryRow->addWidget(FixedFolderButton);
    directoryRow->addWidget(DirectoryButton);
    directoryRow->addStretch(1);
    layout->addLayout(directoryRow);

    connect(FixedFolderButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            FixedFolderChosen();
        }
    });
    connect(DirectoryButton, &QPushButton::clicked, this, &TOptionsWindow::ChooseDirectory);
}

void TOptionsWindow::BuildResizeGroup(QWidget& page) {
    SizeGroup = new QGroupBox(QStringLiteral(" Resize: "), &page);
    // Made row by row, which is also the order of Tab.
    auto* choices = new QButtonGroup(SizeGroup);
    PercentageButton = AddRadioButton(*choices, QStringLiteral("by percentage"), *SizeGroup);
    PercentageButton->setChecked(true);
    PercentageSlider = new QSlider(Qt::Horizontal, SizeGroup);
    PercentageSlider->setFixedWidth(TrackBarWidth);
    PercentageSlider->setRange(0, 100);
    PercentageSlider->setValue(100);
    PercentageSlider->setPageStep(10);
    PercentageSlider->setTickInterval(5);
    PercentageSlider->setTickPosition(QSlider::TicksAbove);
    PercentageLabel = new QLabel(QStringLiteral("100%"), SizeGroup);
    connect(PercentageSlider, &QSlider::valueChanged, this, &TOptionsWindow::PercentageChanged);

    FixedWidthButton =
        AddRadioButton(*choices, QStringLiteral("fixed width (/pixels)"), *SizeGroup);
    WidthField = new QLineEdit(QStringLiteral("640"), SizeGroup);
    FixedHeightButton =
        AddRadioButton(*choices, QStringLiteral("fixed height (/pixels)"), *SizeGroup);
    HeightField = new QLineEdit(QStringLiteral("480"), SizeGroup);
    for (QLineEdit* edit : {WidthField, HeightField}) {
        edit->setFixedWidth(EditWidth);
        edit->installEventFilter(this);
    }

    // The slider follows its short caption; the two fields stand one above the other.
    auto* layout = new QGridLayout(SizeGroup);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setHorizontalSpacing(RowSpacing);
    layout->setVerticalSpacing(0);
    auto* percentRow = new QHBoxLayout;
    percentRow->setSpacing(RowSpacing);
    percentRow->addWidget(PercentageButton);
    percentRow->addWidget(PercentageSlider);
    percentRow->addWidget(PercentageLabel);
    percentRow->addStretch(1);
    layout->addLayout(percentRow, 0, 0, 1, 3);
    layout->addWidget(FixedWidthButton, 1, 0);
    layout->addWidget(WidthField, 1, 1);
    layout->addWidget(FixedHeightButton, 2, 0);
    layout->addWidget(HeightField, 2, 1);
    layout->setColumnStretch(2, 1);
}

void TOptionsWindow::BuildButtons() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(ButtonStripHeight);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(4);
    layout->addStretch(1);

    AbortButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("&Abort"), strip);
    OkButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("&Ok"), strip);
    for (QPushButton* button : {AbortButton, OkButton}) {
        button->setFixedHeight(ButtonStripHeight);
        layout->addWidget(button);
    }
    OkButton->setDefault(true);
    connect(AbortButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(OkButton, &QPushButton::clicked, this, &TOptionsWindow::CheckAndAccept);
    this->layout()->addWidget(strip);
}

// The window's size is fixed, so a desktop font too wide for it is made smaller until the widest
// row of controls fits, down to a size that stays readable.
void TOptionsWindow::FitFontToRows() {
    QFont fitted = font();
    while (WidestRow() > RowWidth && fitted.pointSizeF() - 0.5 >= SmallestPointSize) {
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
        setFont(fitted);
    }
    PercentageLabel->setMinimumWidth(
        PercentageLabel->fontMetrics().horizontalAdvance(QStringLiteral("100%")));
}

int TOptionsWindow::WidestRow() const {
    const int percentRow = PercentageButton->sizeHint().width() + RowSpacing + TrackBarWidth +
                           RowSpacing + PercentageLabel->fontMetrics().horizontalAdvance("100%");
    const int sizeRow =
        std::max(FixedWidthButton->sizeHint().width(), FixedHeightButton->sizeHint().width()) +
        RowSpacing + EditWidth;
    return std::max({AskBeforeOverwriting->sizeHint().width(), BesideLogButton->sizeHint().width(),
                     AskFolderButton->sizeHint().width(), percentRow, sizeRow});
}

void TOptionsWindow::FillFromOptions(TOptions& options) {
    Options = &options;
    AskBeforeOverwriting->setChecked(options.IsOverwritingAsked);
    FillSaveOption(options);
    FillResizeOption(options);
    ViewsPage->Fill(options);
    PicturesPage->Fill(options);
    AnalysisPage->Fill(options);
}

void TOptionsWindow::FillSaveOption(const TOptions& options) {
    switch (options.ShotPlace) {
    case TShotPlace::BesideLog:
        BesideLogButton->setChecked(true);
        break;
    case TShotPlace::AskEachTime:
        AskFolderButton->setChecked(true);
        break;
    default:
        SetChosenDirectory(options.ScreenShotSaveDirectory);
        FixedFolderButton->setChecked(true); // with no directory, the chooser opens here
        break;
    }
}

void TOptionsWindow::FillResizeOption(const TOptions& options) {
    switch (options.ShotSizing) {
    case TShotSizing::Percentage:
        PercentageButton->setChecked(true);
        PercentageSlider->setValue(options.ScreenShotResizeValue);
        break;
    case TShotSizing::FixedWidth:
        FixedWidthButton->setChecked(true);
        WidthField->setText(QString::number(options.ScreenShotResizeValue));
        break;
    case TShotSizing::FixedHeight:
        FixedHeightButton->setChecked(true);
        HeightField->setText(QString::number(options.ScreenShotResizeValue));
        break;
    default:
        break;
    }
}

void TOptionsWindow::ApplyToOptions() {
    if (Options == nullptr) {
        return;
    }
    Options->IsOverwritingAsked = AskBeforeOverwriting->isChecked();
    ApplySaveOption(*Options);
    ApplyResizeOption(*Options);
    ViewsPage->Apply(*Options);
    PicturesPage->Apply(*Options);
    AnalysisPage->Apply(*Options);
    Options = nullptr;
}

void TOptionsWindow::ApplySaveOption(TOptions& options) const {
    if (BesideLogButton->isChecked()) {
        options.ShotPlace = TShotPlace::BesideLog;
        options.ScreenShotSaveDirectory.clear();
    } else if (AskFolderButton->isChecked()) {
        options.ShotPlace = TShotPlace::AskEachTime;
        options.ScreenShotSaveDirectory.clear();
    } else {
        options.ShotPlace = TShotPlace::FixedFolder;
        options.ScreenShotSaveDirectory = ChosenDirectory;
    }
}

// OK has checked a fixed size; without that check, text that is no number is written as -1.
void TOptionsWindow::ApplyResizeOption(TOptions& options) const {
    if (PercentageButton->isChecked()) {
        options.ShotSizing = TShotSizing::Percentage;
        options.ScreenShotResizeValue = PercentageSlider->value();
    } else if (FixedWidthButton->isChecked()) {
        options.ShotSizing = TShotSizing::FixedWidth;
        options.ScreenShotResizeValue = NumberIn(*WidthField);
    } else {
        options.ShotSizing = TShotSizing::FixedHeight;
        options.ScreenShotResizeValue = NumberIn(*HeightField);
    }
}

void TOptionsWindow::CheckAndAccept() {
    // Every check runs; the user sees the last complaint only.
    QString problem;
    for (const QString& found : {DirectoryProblem(), WidthProblem(), HeightProblem()}) {
        if (!found.isEmpty()) {
            problem = found;
            Pages->setCurrentWidget(ShotsPage);
        }
    }
    if (problem.isEmpty()) {
        accept();
        return;
    }
    ShowError(problem.toStdString());
}

QString TOptionsWindow::DirectoryProblem() const {
    if (FixedFolderButton->isChecked() && ChosenDirectory.isEmpty()) {
        return QStringLiteral(
            "Please choose a directory in which you want to save the screen shots.");
    }
    return {};
}

QString TOptionsWindow::WidthProblem() const {
    return FixedWidthButton->isChecked() ? SizeProblem(*WidthField, Bounds().width(), "width")
                                         : QString();
}

QString TOptionsWindow::HeightProblem() const {
    return FixedHeightButton->isChecked() ? SizeProblem(*HeightField, Bounds().height(), "height")
                                          : QString();
}

QSize TOptionsWindow::Bounds() const {
    return ShotBounds ? ShotBounds() : QSize(0, 0);
}

void TOptionsWindow::ChooseDirectory() {
    const std::optional<std::string> chosen =
        Ui().ChooseDirectory("Choose the screen shot directory", ChosenDirectory.toStdString());
    if (!chosen) {
        BesideLogButton->setChecked(true);
        return;
    }
    SetChosenDirectory(QString::fromStdString(*chosen));
    FixedFolderButton->setChecked(true);
}

void TOptionsWindow::FixedFolderChosen() {
    if (ChosenDirectory.isEmpty()) {
        ChooseDirectory();
    }
}

void TOptionsWindow::PercentageChanged() {
    PercentageLabel->setText(QString::number(PercentageSlider->value()) + QLatin1Char('%'));
}

void TOptionsWindow::WidthFieldPressed() {
    FixedWidthButton->setChecked(true);
}

void TOptionsWindow::HeightFieldPressed() {
    FixedHeightButton->setChecked(true);
}

// The caption keeps the end of a long path, where the directory's own name is.
void TOptionsWindow::SetChosenDirectory(const QString& directory) {
    ChosenDirectory = directory;
    const QString prefix = QStringLiteral("this directory: ");
    QString shown = fontMetrics().elidedText(directory, Qt::ElideLeft, DirectoryRoom(prefix));
    shown.replace(QLatin1Char('&'), QStringLiteral("&&")); // a path is no shortcut
    FixedFolderButton->setText(prefix + shown);
}

// At most 200 pixels; less when a wide font leaves less beside the circle and the prefix.
int TOptionsWindow::DirectoryRoom(const QString& prefix) const {
    QStyleOptionButton option;
    option.initFrom(FixedFolderButton);
    const QFontMetrics metrics = fontMetrics();
    const int circle = style()
                           ->sizeFromContents(QStyle::CT_RadioButton, &option,
                                              QSize(0, metrics.height()), FixedFolderButton)
                           .width();
    const int room = DirectoryCaptionWidth - circle - metrics.horizontalAdvance(prefix);
    return std::min(DirectoryCaptionMaxPixels, room);
}

// A click into a size field chooses that size; reaching the field with Tab does not.
bool TOptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == WidthField) {
            WidthFieldPressed();
        } else if (watched == HeightField) {
            HeightFieldPressed();
        }
    }
    return QDialog::eventFilter(watched, event);
}
