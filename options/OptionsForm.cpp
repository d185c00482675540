#include "OptionsForm.h"

#include "Options.h"
#include "UiServices.h"

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
// The width of a row of controls in either group: option 3's caption and its button.
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
TOptionsForm::TOptionsForm(QWidget* parent)
    : TCentredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(ClientWidth, ClientHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    layout->addWidget(PageControl1, 1);
    BuildPage();
    BuildButtons();
    FitFontToRows();
}

void TOptionsForm::BuildPage() {
    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Screen Shots"));
    auto* layout = new QVBoxLayout(TabSheet1);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(0);

    auto* checkStrip = new QWidget(TabSheet1);
    checkStrip->setFixedHeight(CheckBoxStripHeight);
    auto* checkLayout = new QHBoxLayout(checkStrip);
    checkLayout->setContentsMargins(6, 0, 0, 0);
    CheckBox1 = new QCheckBox(QStringLiteral("Ask me before overwriting"), checkStrip);
    checkLayout->addWidget(CheckBox1);
    layout->addWidget(checkStrip);

    BuildSaveGroup(*TabSheet1);
    layout->addWidget(RadioGroup1);
    layout->addSpacing(GroupGap);
    BuildResizeGroup(*TabSheet1);
    layout->addWidget(GroupBox1, 1);
}

void TOptionsForm::BuildSaveGroup(QWidget& page) {
    RadioGroup1 = new QGroupBox(QStringLiteral(" Save to: "), &page);
    RadioGroup1->setFixedHeight(SaveGroupHeight);
    auto* choices = new QButtonGroup(RadioGroup1);
    RadioButton1 =
        AddRadioButton(*choices, QStringLiteral("the same directory as log file"), *RadioGroup1);
    RadioButton2 = AddRadioButton(
        *choices, QStringLiteral("an assigned directory (each time a screen shot is saved)"),
        *RadioGroup1);
    RadioButton3 = AddRadioButton(*choices, QStringLiteral("this directory:"), *RadioGroup1);
    RadioButton3->setFixedWidth(DirectoryCaptionWidth);
    RadioButton1->setChecked(true);

    BitBtn7 = new QPushButton(RadioGroup1);
    BitBtn7->setFixedSize(DirectoryButtonSize);
    BitBtn7->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    BitBtn7->setToolTip(QStringLiteral("choose screenshot directory"));
    BitBtn7->setAutoDefault(false);

    auto* layout = new QVBoxLayout(RadioGroup1);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(RadioButton1);
    layout->addWidget(RadioButton2);
    auto* directoryRow = new QHBoxLayout;
    directoryRow->setSpacing(0);
    directoryRow->addWidget(RadioButton3);
    directoryRow->addWidget(BitBtn7);
    directoryRow->addStretch(1);
    layout->addLayout(directoryRow);

    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            RadioButton3Click();
        }
    });
    connect(BitBtn7, &QPushButton::clicked, this, &TOptionsForm::BitBtn7Click);
}

void TOptionsForm::BuildResizeGroup(QWidget& page) {
    GroupBox1 = new QGroupBox(QStringLiteral(" Resize: "), &page);
    // Made row by row, which is also the order of Tab.
    auto* choices = new QButtonGroup(GroupBox1);
    RadioButton4 = AddRadioButton(*choices, QStringLiteral("by percentage"), *GroupBox1);
    RadioButton4->setChecked(true);
    TrackBar1 = new QSlider(Qt::Horizontal, GroupBox1);
    TrackBar1->setFixedWidth(TrackBarWidth);
    TrackBar1->setRange(0, 100);
    TrackBar1->setValue(100);
    TrackBar1->setPageStep(10);
    TrackBar1->setTickInterval(5);
    TrackBar1->setTickPosition(QSlider::TicksAbove);
    Label1 = new QLabel(QStringLiteral("100%"), GroupBox1);
    connect(TrackBar1, &QSlider::valueChanged, this, &TOptionsForm::TrackBar1Change);

    RadioButton5 = AddRadioButton(*choices, QStringLiteral("fixed width (/pixels)"), *GroupBox1);
    Edit1 = new QLineEdit(QStringLiteral("640"), GroupBox1);
    RadioButton6 = AddRadioButton(*choices, QStringLiteral("fixed height (/pixels)"), *GroupBox1);
    Edit2 = new QLineEdit(QStringLiteral("480"), GroupBox1);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setFixedWidth(EditWidth);
        edit->installEventFilter(this);
    }

    // The slider follows its short caption; the two fields stand one above the other.
    auto* layout = new QGridLayout(GroupBox1);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setHorizontalSpacing(RowSpacing);
    layout->setVerticalSpacing(0);
    auto* percentRow = new QHBoxLayout;
    percentRow->setSpacing(RowSpacing);
    percentRow->addWidget(RadioButton4);
    percentRow->addWidget(TrackBar1);
    percentRow->addWidget(Label1);
    percentRow->addStretch(1);
    layout->addLayout(percentRow, 0, 0, 1, 3);
    layout->addWidget(RadioButton5, 1, 0);
    layout->addWidget(Edit1, 1, 1);
    layout->addWidget(RadioButton6, 2, 0);
    layout->addWidget(Edit2, 2, 1);
    layout->setColumnStretch(2, 1);
}

void TOptionsForm::BuildButtons() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(ButtonStripHeight);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(4);
    layout->addStretch(1);

    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Abort"), strip);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("&Ok"), strip);
    for (QPushButton* button : {BitBtn2, BitBtn1}) {
        button->setFixedHeight(ButtonStripHeight);
        layout->addWidget(button);
    }
    BitBtn1->setDefault(true);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TOptionsForm::BitBtn1Click);
    this->layout()->addWidget(strip);
}

// The window's size is fixed, so a desktop font too wide for it is made smaller until the widest
// row of controls fits, down to a size that stays readable.
void TOptionsForm::FitFontToRows() {
    QFont fitted = font();
    while (WidestRow() > RowWidth && fitted.pointSizeF() - 0.5 >= SmallestPointSize) {
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
        setFont(fitted);
    }
    Label1->setMinimumWidth(Label1->fontMetrics().horizontalAdvance(QStringLiteral("100%")));
}

int TOptionsForm::WidestRow() const {
    const int percentRow = RadioButton4->sizeHint().width() + RowSpacing + TrackBarWidth +
                           RowSpacing + Label1->fontMetrics().horizontalAdvance("100%");
    const int sizeRow =
        std::max(RadioButton5->sizeHint().width(), RadioButton6->sizeHint().width()) + RowSpacing +
        EditWidth;
    return std::max({CheckBox1->sizeHint().width(), RadioButton1->sizeHint().width(),
                     RadioButton2->sizeHint().width(), percentRow, sizeRow});
}

void TOptionsForm::FillFromOptions(TOptions1& options) {
    Options = &options;
    CheckBox1->setChecked(options.IsOverwritingAsked);
    FillSaveOption(options);
    FillResizeOption(options);
}

void TOptionsForm::FillSaveOption(const TOptions1& options) {
    switch (options.ScreenShotSaveOption) {
    case 1:
        RadioButton1->setChecked(true);
        break;
    case 2:
        RadioButton2->setChecked(true);
        break;
    default:
        SetChosenDirectory(options.ScreenShotSaveDirectory);
        RadioButton3->setChecked(true); // with no directory, the chooser opens here
        break;
    }
}

void TOptionsForm::FillResizeOption(const TOptions1& options) {
    switch (options.ScreenShotResizeOption) {
    case 1:
        RadioButton4->setChecked(true);
        TrackBar1->setValue(options.ScreenShotResizeValue);
        break;
    case 2:
        RadioButton5->setChecked(true);
        Edit1->setText(QString::number(options.ScreenShotResizeValue));
        break;
    case 3:
        RadioButton6->setChecked(true);
        Edit2->setText(QString::number(options.ScreenShotResizeValue));
        break;
    default:
        break;
    }
}

void TOptionsForm::ApplyToOptions() {
    if (Options == nullptr) {
        return;
    }
    Options->IsOverwritingAsked = CheckBox1->isChecked();
    ApplySaveOption(*Options);
    ApplyResizeOption(*Options);
    Options = nullptr;
}

void TOptionsForm::ApplySaveOption(TOptions1& options) const {
    if (RadioButton1->isChecked()) {
        options.ScreenShotSaveOption = 1;
        options.ScreenShotSaveDirectory.clear();
    } else if (RadioButton2->isChecked()) {
        options.ScreenShotSaveOption = 2;
        options.ScreenShotSaveDirectory.clear();
    } else {
        options.ScreenShotSaveOption = 3;
        options.ScreenShotSaveDirectory = ChosenDirectory;
    }
}

// OK has checked a fixed size; without that check, text that is no number is written as -1.
void TOptionsForm::ApplyResizeOption(TOptions1& options) const {
    if (RadioButton4->isChecked()) {
        options.ScreenShotResizeOption = 1;
        options.ScreenShotResizeValue = TrackBar1->value();
    } else if (RadioButton5->isChecked()) {
        options.ScreenShotResizeOption = 2;
        options.ScreenShotResizeValue = NumberIn(*Edit1);
    } else {
        options.ScreenShotResizeOption = 3;
        options.ScreenShotResizeValue = NumberIn(*Edit2);
    }
}

void TOptionsForm::BitBtn1Click() {
    // Every check runs; the user sees the last complaint only.
    QString problem;
    for (const QString& found : {DirectoryProblem(), WidthProblem(), HeightProblem()}) {
        if (!found.isEmpty()) {
            problem = found;
            PageControl1->setCurrentWidget(TabSheet1);
        }
    }
    if (problem.isEmpty()) {
        accept();
        return;
    }
    ShowError(problem.toStdString());
}

QString TOptionsForm::DirectoryProblem() const {
    if (RadioButton3->isChecked() && ChosenDirectory.isEmpty()) {
        return QStringLiteral(
            "Please choose a directory in which you want to save the screen shots.");
    }
    return {};
}

QString TOptionsForm::WidthProblem() const {
    return RadioButton5->isChecked() ? SizeProblem(*Edit1, Bounds().width(), "width") : QString();
}

QString TOptionsForm::HeightProblem() const {
    return RadioButton6->isChecked() ? SizeProblem(*Edit2, Bounds().height(), "height") : QString();
}

QSize TOptionsForm::Bounds() const {
    return ShotBounds ? ShotBounds() : QSize(0, 0);
}

void TOptionsForm::BitBtn7Click() {
    const std::optional<std::string> chosen =
        Ui().ChooseDirectory("Choose the screen shot directory", ChosenDirectory.toStdString());
    if (!chosen) {
        RadioButton1->setChecked(true);
        return;
    }
    SetChosenDirectory(QString::fromStdString(*chosen));
    RadioButton3->setChecked(true);
}

void TOptionsForm::RadioButton3Click() {
    if (ChosenDirectory.isEmpty()) {
        BitBtn7Click();
    }
}

void TOptionsForm::TrackBar1Change() {
    Label1->setText(QString::number(TrackBar1->value()) + QLatin1Char('%'));
}

void TOptionsForm::Edit1Click() {
    RadioButton5->setChecked(true);
}

void TOptionsForm::Edit2Click() {
    RadioButton6->setChecked(true);
}

// The caption keeps the end of a long path, where the directory's own name is.
void TOptionsForm::SetChosenDirectory(const QString& directory) {
    ChosenDirectory = directory;
    const QString prefix = QStringLiteral("this directory: ");
    QString shown = fontMetrics().elidedText(directory, Qt::ElideLeft, DirectoryRoom(prefix));
    shown.replace(QLatin1Char('&'), QStringLiteral("&&")); // a path is no shortcut
    RadioButton3->setText(prefix + shown);
}

// At most 200 pixels; less when a wide font leaves less beside the circle and the prefix.
int TOptionsForm::DirectoryRoom(const QString& prefix) const {
    QStyleOptionButton option;
    option.initFrom(RadioButton3);
    const QFontMetrics metrics = fontMetrics();
    const int circle = style()
                           ->sizeFromContents(QStyle::CT_RadioButton, &option,
                                              QSize(0, metrics.height()), RadioButton3)
                           .width();
    const int room = DirectoryCaptionWidth - circle - metrics.horizontalAdvance(prefix);
    return std::min(DirectoryCaptionMaxPixels, room);
}

// A click into a size field chooses that size; reaching the field with Tab does not.
bool TOptionsForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == Edit1) {
            Edit1Click();
        } else if (watched == Edit2) {
            Edit2Click();
        }
    }
    return QDialog::eventFilter(watched, event);
}
