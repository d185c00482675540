#include "VideoExportWindow.h"

#include "LogFile.h"
#include "Replay.h"
#include "UiServices.h"

#include "GLControl.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace {

// As large as the renderer draws on this machine's drivers, and even, as yuv420p needs.
constexpr int LargestSide = 16384;
constexpr int SmallestSide = 16;
constexpr double SlowestSpeed = 0.1;
constexpr double FastestSpeed = 1000.0;

QSpinBox* SideField(int value) {
    auto* field = new QSpinBox;
    field->setRange(SmallestSide, LargestSide);
    field->setSingleStep(2);
    field->setValue(value);
    return field;
}

// The seconds the replay lasts: its end is on a whole second where time passes.
int LastSecond(const TLogFile& project) {
    const std::int32_t perSecond = VideoStepsPerSecond(project);
    return static_cast<int>((std::int64_t{ReplayEndStep(project)} + perSecond - 1) / perSecond);
}

} // namespace

TVideoExportWindow::TVideoExportWindow(TGLControl& view, QWidget* parent)
    : TCentredDialog(parent), View(view) {
    setWindowTitle(QStringLiteral("Export Video"));
    BuildFields();
}

void TVideoExportWindow::BuildFields() {
    FromField = new QSpinBox;
    ToField = new QSpinBox;
    for (QSpinBox* field : {FromField, ToField}) {
        field->setSuffix(QStringLiteral(" s"));
        connect(field, &QSpinBox::valueChanged, this, &TVideoExportWindow::ShowLength);
    }
    auto* part = new QHBoxLayout;
    part->addWidget(FromField);
    part->addWidget(new QLabel(QStringLiteral("to")));
    part->addWidget(ToField);
    part->addStretch(1);

    FramesPerSecondChooser = new QComboBox;
    FramesPerSecondChooser->addItems({QStringLiteral("25"), QStringLiteral("30")});
    connect(FramesPerSecondChooser, &QComboBox::currentIndexChanged, this,
            &TVideoExportWindow::ShowLength);
    SpeedField = new QDoubleSpinBox;
    SpeedField->setRange(SlowestSpeed, FastestSpeed);
    SpeedField->setDecimals(1);
    SpeedField->setSuffix(QStringLiteral(" x real time"));
    SpeedField->setToolTip(QStringLiteral("Seconds of replay in each second of the video"));
    connect(SpeedField, &QDoubleSpinBox::valueChanged, this, &TVideoExportWindow::ShowLength);

    WidthField = SideField(1280);
    HeightField = SideField(720);
    for (QSpinBox* field : {WidthField, HeightField}) {
        connect(field, &QSpinBox::valueChanged, this, &TVideoExportWindow::ShowLength);
    }
    auto* size = new QHBoxLayout;
    size->addWidget(WidthField);
    size->addWidget(new QLabel(QStringLiteral("x")));
    size->addWidget(HeightField);
    size->addWidget(new QLabel(QStringLiteral("pixels")));
    size->addStretch(1);

    CaptionBox = new QCheckBox(QStringLiteral("&Time, deck and saved count in the corner"));
    LengthLabel = new QLabel;

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Replay from:"), part);
    form->addRow(QStringLiteral("&Frames a second:"), FramesPerSecondChooser);
    form->addRow(QStringLiteral("&Speed:"), SpeedField);
    form->addRow(QStringLiteral("Si&ze:"), size);
    form->addRow(QString(), CaptionBox);
    form->addRow(QString(), LengthLabel);
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(part))) {
        label->setBuddy(FromField);
    }
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(size))) {
        label->setBuddy(WidthField);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    ExportButton = buttons->addButton(QStringLiteral("&Export..."), QDialogButtonBox::ActionRole);
    // Return exports, from any field; closing takes Esc or the button itself.
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    ExportButton->setDefault(true);
    connect(ExportButton, &QPushButton::clicked, this, &TVideoExportWindow::ExportClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TVideoExportWindow::ShowFor(TLogFile& project, double playbackSpeed, bool caption) {
    Project = &project;
    const int last = LastSecond(project);
    FromField->setRange(0, last);
    ToField->setRange(0, last);
    if (project.FileName != ProjectFile) {
        ProjectFile = project.FileName;
        FromField->setValue(0);
        ToField->setValue(last);
    }
    SpeedField->setValue(playbackSpeed);
    CaptionBox->setChecked(caption);
    ShowLength();
    exec();
}

TFrameRange TVideoExportWindow::Range() const {
    // A second of the field as steps, never beyond the end of the replay.
    const auto step = [this](const QSpinBox& seconds) {
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(std::int64_t{seconds.value()} * VideoStepsPerSecond(*Project),
                                   ReplayEndStep(*Project)));
    };
    return VideoRange(*Project, step(*FromField), step(*ToField),
                      FramesPerSecondChooser->currentText().toInt(),
                      static_cast<std::int32_t>(std::lround(SpeedField->value() * 1000)));
}

QString TVideoExportWindow::FieldProblem() const {
    if (FromField->value() > ToField->value()) {
        return QStringLiteral("The part of the replay ends before it starts.");
    }
    if (WidthField->value() % 2 != 0 || HeightField->value() % 2 != 0) {
        return QStringLiteral("The width and the height of a video must be even numbers.");
    }
    return {};
}

void TVideoExportWindow::ShowLength() {
    if (Project == nullptr) {
        return;
    }
    const QString problem = FieldProblem();
    ExportButton->setEnabled(problem.isEmpty());
    if (!problem.isEmpty()) {
        LengthLabel->setText(problem);
        return;
    }
    const TFrameRange range = Range();
    const std::int64_t frames = range.Count();
    const auto seconds = static_cast<std::int32_t>(frames / *range.VideoFramesPerSecond);
    LengthLabel->setText(QStringLiteral("%1 frames, %2 min of video")
                             .arg(frames)
                             .arg(QString::fromStdString(ClockText(seconds))));
}

void TVideoExportWindow::ExportClicked() {
    const QFileInfo log(QString::fromStdString(Project->FileName));
    const QString folder = LastFolder.isEmpty() ? log.absolutePath() : LastFolder;
    const auto chosen =
        Ui().SaveFileName({"Export Video", "MP4 video (*.mp4)", folder.toStdString(),
                           (log.completeBaseName() + ".mp4").toStdString(), "mp4"});
    if (!chosen) {
        return;
    }
    const QString file = QString::fromStdString(*chosen);
    LastFolder = QFileInfo(file).absolutePath();
    const bool replacing = QFileInfo::exists(file);
    const TVideoOutcome outcome = WriteVideo(file);
    if (outcome.End == TVideoEnd::Written) {
        emit VideoSaved(file, replacing);
        accept();
    } else if (outcome.End == TVideoEnd::Failed) {
        Ui().MessageBox("Error",
                        ("Cannot write the video:\n" + file + "\n" + outcome.Error).toStdString(),
                        TMsgIcon::Error, TMsgButtons::Ok);
    }
}

TVideoOutcome TVideoExportWindow::WriteVideo(const QString& fileName) {
    QProgressDialog progress(QStringLiteral("Writing the video..."), QStringLiteral("Cancel"), 0, 1,
                             this);
    progress.setWindowTitle(QStringLiteral("Export Video"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    TFilmLook look = Look();
    look.Caption = CaptionBox->isChecked();
    const TVideoRequest request{
        fileName,
        {WidthField->value(), HeightField->value(), FramesPerSecondChooser->currentText().toInt()},
        Range(),
        StepShown()};
    const TVideoOutcome outcome =
        ExportVideo(View, *Project, look, request, [&](std::int64_t written, std::int64_t count) {
            progress.setMaximum(static_cast<int>(std::min<std::int64_t>(count, INT32_MAX)));
            progress.setLabelText(
                QStringLiteral("Writing frame %1 of %2...").arg(written).arg(count));
            progress.setValue(static_cast<int>(std::min<std::int64_t>(written, INT32_MAX)));
            return !progress.wasCanceled();
        });
    View.Invalidate();
    return outcome;
}
