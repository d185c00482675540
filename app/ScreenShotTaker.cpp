// Screen shots: a single shot of the view, and a series that shoots before every replay step,
// each file named after its time step; where they go and how large they are comes from the
// options record, which the options window edits.

#include "ScreenShotTaker.h"

#include "DeckCaptionText.h"
#include "DeckView.h"
#include "FrameCaption.h"
#include "LogFile.h"
#include "MessageNesting.h"
#include "OptionsWindow.h"
#include "ProgramSettings.h"
#include "Replay.h"
#include "UiServices.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

const char* const OptionError = "Error in TMainForm::Singlescreenshot1Click(). Contact Morvane HT.";

// The folder part of a path, separator included, as the store keeps whole file names.
QString DirectoryPart(const QString& path) {
    return path.left(path.lastIndexOf('/') + 1);
}

std::int32_t Truncated(double value) {
    return static_cast<std::int32_t>(std::trunc(value));
}

} // namespace

TScreenShotTaker::TScreenShotTaker(TDeckView& view, const TReplay& replay, TProjectSource project,
                                   QAction& seriesEntry, QAbstractButton& seriesButton,
                                   QObject* parent)
    : QObject(parent), View(view), Replay(replay), Project(std::move(project)),
      SeriesEntry(seriesEntry), SeriesButton(seriesButton) {
    // The menu entry and the tool button are one switch.
    connect(&SeriesEntry, &QAction::triggered, this, [this](bool on) {
        SeriesButton.setChecked(on);
        SwitchSeries();
    });
    connect(&SeriesButton, &QAbstractButton::clicked, this, &TScreenShotTaker::SwitchSeries);
}

void TScreenShotTaker::ReadOptions(TProgramSettings& settings) {
    Options.ReadOptions(settings);
    OptionsAsRead = Options;
}

QString TScreenShotTaker::WriteOptions(TProgramSettings& settings) const {
    return Options.WriteOptions(settings, &OptionsAsRead);
}

void TScreenShotTaker::ShootSeriesFrame() {
    if (Series) {
        TakeScreenShot(TShot::Series);
    }
}

void TScreenShotTaker::SetSeriesActive(bool on) {
    if (on && !Series) {
        SeriesFrames = 0;
    }
    const bool changed = on != Series;
    Series = on;
    SeriesButton.setChecked(on);
    SeriesEntry.setChecked(on);
    if (changed) {
        emit SeriesProgress(on, SeriesFrames);
    }
}

void TScreenShotTaker::TakeSingleShot() {
    TakeScreenShot(TShot::Single);
}

void TScreenShotTaker::SwitchSeries() {
    SetSeriesActive(SeriesButton.isChecked());
    if (!Series || Options.ShotPlace != TShotPlace::AskEachTime) {
        return; // the other save options need no folder chosen up front
    }
    const auto chosen = Ui().ChooseDirectory("Screen shot series", AskFrom().toStdString());
    if (!chosen) {
        SetSeriesActive(false);
        return;
    }
    SeriesFolder = QString::fromStdString(*chosen);
    if (!SeriesFolder.endsWith('/')) {
        SeriesFolder += '/';
    }
    AskedLast = SeriesFolder;
}

// The folder chosen last while the program runs, else the log's.
QString TScreenShotTaker::AskFrom() const {
    if (!AskedLast.isEmpty() || Project() == nullptr) {
        return AskedLast;
    }
    return DirectoryPart(QFileInfo(QString::fromStdString(Project()->FileName)).absoluteFilePath());
}

void TScreenShotTaker::ShowOptions() {
    if (Series) {
        SetSeriesActive(false); // a running series ends when the options are opened
    }
    if (OptionsWindow == nullptr) {
        return;
    }
    OptionsWindow->FillFromOptions(Options);
    const TMessageNesting modal; // a modal window runs messages until it closes
    if (OptionsWindow->exec() == QDialog::Accepted) {
        OptionsWindow->ApplyToOptions();
        emit OptionsApplied();
    }
}

// The file and the size are both decided, each with its own box when its option is out of
// range, before anything is written; a series whose shots cannot be taken ends.
void TScreenShotTaker::TakeScreenShot(TShot shot) {
    if (Project() == nullptr) {
        return;
    }
    const std::optional<QString> file = ShotFile(shot);
    const std::optional<QSize> size = ShotSize();
    if (!file || !size) {
        if (shot == TShot::Series) {
            SetSeriesActive(false);
        }
        return;
    }
    SaveShot(*file, *size, shot);
}

std::optional<QString> TScreenShotTaker::ShotFile(TShot shot) {
    const QString name =
        QString::fromStdString(FormatStepNumber(Replay.TimeStep())) + "." + PictureSuffix(Format());
    switch (Options.ShotPlace) {
    case TShotPlace::BesideLog:
        return QFileInfo(QString::fromStdString(Project()->FileName)).dir().filePath(name);
    case TShotPlace::AskEachTime:
        return shot == TShot::Series ? SeriesFolder + name : AskShotFile(name);
    case TShotPlace::FixedFolder:
        return QDir(Options.ScreenShotSaveDirectory).filePath(name);
    default:
        ShowError(OptionError);
        return std::nullopt;
    }
}

std::optional<QString> TScreenShotTaker::AskShotFile(const QString& name) {
    const bool png = Format() == TPictureFormat::Png;
    const TFileDialogRequest request{
        "Save Screen Shot", png ? "PNG image (*.png)" : "JPEG file (*.jpg)",
        AskFrom().toStdString(), name.toStdString(), PictureSuffix(Format())};
    const auto chosen = Ui().SaveFileName(request);
    if (!chosen) {
        return std::nullopt;
    }
    const QString file = QString::fromStdString(*chosen);
    AskedLast = DirectoryPart(file);
    TProgramSettings settings;
    if (!settings.Write(Settings::ScreenShotSaveDirectory, file)) {
        ShowError(settings.LastError().toStdString());
    }
    Options.ScreenShotSaveDirectory = DirectoryPart(file);
    return file;
}

TPictureFormat TScreenShotTaker::Format() const {
    return Options.ShotFormat == TShotFormat::Png ? TPictureFormat::Png : TPictureFormat::Jpeg;
}

std::optional<QSize> TScreenShotTaker::ShotSize() const {
    const double w = View.width();
    const double h = View.height();
    const double v = Options.ScreenShotResizeValue;
    switch (Options.ShotSizing) {
    case TShotSizing::Percentage:
        return QSize(Truncated(v * 0.01 * w), Truncated(v * 0.01 * h));
    case TShotSizing::FixedWidth:
        return QSize(Truncated(v), Truncated(h * v / w));
    case TShotSizing::FixedHeight:
        return QSize(Truncated(w * v / h), Truncated(v));
    default:
        ShowError(OptionError);
        return std::nullopt;
    }
}

void TScreenShotTaker::SaveShot(const QString& file, QSize size, TShot shot) {
    if (Options.IsOverwritingAsked && QFileInfo::exists(file) &&
        Ui().MessageBox("Warning",
                        "You are about to overwrite an existing file with this screen shot. Do "
                        "you want to proceed?",
                        TMsgIcon::Exclamation, TMsgButtons::OkCancel) == TMsgResult::Cancel) {
        return;
    }
    if (Options.CaptionOnShots) {
        const double pixelRatio = View.devicePixelRatioF();
        View.SetCaption(CaptionPicture(FrameCaptionText(*Project(), Replay, View.DeckIndex()),
                                       static_cast<int>(View.height() * pixelRatio)));
    }
    const bool replacing = QFileInfo::exists(file);
    const QString error = View.SaveCanvasToFile(file, size.width(), size.height(), Format());
    View.SetCaption(QImage());
    if (error.isEmpty()) {
        if (shot == TShot::Series) {
            emit SeriesProgress(true, ++SeriesFrames);
        }
        emit ShotSaved(file, replacing);
        return;
    }
    emit ShotFailed(file);
    ShowError(("Cannot save the screen shot:\n" + file + "\n" + error).toStdString());
    if (shot == TShot::Series) {
        SetSeriesActive(false); // one box for a series, not one per step
    }
}
