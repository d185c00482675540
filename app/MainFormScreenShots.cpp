// Screen shots: a single shot of the view, and a series that shoots before every replay step,
// each file named after its time step; where they go and how large they are comes from the
// options record, which the options window edits.

#include "MainForm.h"

#include "DeckView.h"
#include "MessageNesting.h"
#include "OptionsForm.h"
#include "ProgramSettings.h"
#include "UiServices.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QToolButton>

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

void TMainForm::ConnectScreenShots() {
    // A shot shows where the replay stands once the commands given before it have run.
    ConnectReplayCommand(Action(TCommand::SingleShot), &QAction::triggered,
                         &TMainForm::TakeSingleShot);
    ConnectReplayCommand(SingleShotButton, &QToolButton::clicked, &TMainForm::TakeSingleShot);
    // The menu entry and the tool button are one switch.
    connect(Action(TCommand::ScreenShotSeries), &QAction::triggered, this, [this](bool on) {
        SeriesButton->setChecked(on);
        SwitchSeries();
    });
    connect(SeriesButton, &QToolButton::clicked, this, &TMainForm::SwitchSeries);
    connect(Action(TCommand::Options), &QAction::triggered, this, &TMainForm::ShowOptions);
    Replay.BeforeStep = [this] {
        if (SeriesActive) {
            TakeScreenShot(TShot::Series);
        }
    };
}

void TMainForm::SetSeriesActive(bool on) {
    SeriesActive = on;
    SeriesButton->setChecked(on);
    Action(TCommand::ScreenShotSeries)->setChecked(on);
}

void TMainForm::TakeSingleShot() {
    TakeScreenShot(TShot::Single);
}

void TMainForm::SwitchSeries() {
    SetSeriesActive(SeriesButton->isChecked());
    if (!SeriesActive || Options.ShotPlace != TShotPlace::AskEachTime) {
        return; // the other save options need no folder chosen up front
    }
    ScreenShotPath = DirectoryPart(TProgramSettings().Read(Settings::ScreenShotSaveDirectory));
    const auto chosen = Ui().ChooseDirectory("Screen shot series", ScreenShotPath.toStdString());
    if (!chosen) {
        SetSeriesActive(false);
        return;
    }
    ScreenShotPath = QString::fromStdString(*chosen);
    if (!ScreenShotPath.endsWith('/')) {
        ScreenShotPath += '/';
    }
}

void TMainForm::ShowOptions() {
    if (SeriesActive) {
        SetSeriesActive(false); // a running series ends when the options are opened
    }
    if (OptionsForm == nullptr) {
        return;
    }
    OptionsForm->FillFromOptions(Options);
    const TMessageNesting modal; // a modal window runs messages until it closes
    if (OptionsForm->exec() == QDialog::Accepted) {
        OptionsForm->ApplyToOptions();
    }
}

// The file and the size are both decided, each with its own box when its option is out of
// range, before anything is written; a series whose shots cannot be taken ends.
void TMainForm::TakeScreenShot(TShot shot) {
    if (!LogLoaded) {
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

std::optional<QString> TMainForm::ShotFile(TShot shot) {
    const QString name = QString::fromStdString(FormatStepNumber(Replay.TimeStep())) + ".jpg";
    switch (Options.ShotPlace) {
    case TShotPlace::BesideLog:
        return QFileInfo(QString::fromStdString(LogFile->FileName)).dir().filePath(name);
    case TShotPlace::AskEachTime:
        return shot == TShot::Series ? ScreenShotPath + name : AskShotFile(name);
    case TShotPlace::FixedFolder:
        return QDir(Options.ScreenShotSaveDirectory).filePath(name);
    default:
        ShowError(OptionError);
        return std::nullopt;
    }
}

std::optional<QString> TMainForm::AskShotFile(const QString& name) {
    TProgramSettings settings;
    const QString last = settings.Read(Settings::ScreenShotSaveDirectory);
    const TFileDialogRequest request{"Save Screen Shot", "JPEG file (*.jpg)",
                                     DirectoryPart(last).toStdString(), name.toStdString(), "jpg"};
    const auto chosen = Ui().SaveFileName(request);
    if (!chosen) {
        return std::nullopt;
    }
    const QString file = QString::fromStdString(*chosen);
    if (!settings.Write(Settings::ScreenShotSaveDirectory, file)) {
        ShowError(settings.LastError().toStdString());
    }
    Options.ScreenShotSaveDirectory = DirectoryPart(file);
    return file;
}

std::optional<QSize> TMainForm::ShotSize() const {
    const double w = View->width();
    const double h = View->height();
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

void TMainForm::SaveShot(const QString& file, QSize size, TShot shot) {
    if (Options.IsOverwritingAsked && QFileInfo::exists(file) &&
        Ui().MessageBox("Warning",
                        "You are about to overwrite an existing file with this screen shot. Do "
                        "you want to proceed?",
                        TMsgIcon::Exclamation, TMsgButtons::OkCancel) == TMsgResult::Cancel) {
        return;
    }
    const QString error = View->SaveCanvasToFile(file, size.width(), size.height());
    if (error.isEmpty()) {
        return;
    }
    ShowError(("Cannot save the screen shot:\n" + file + "\n" + error).toStdString());
    if (shot == TShot::Series) {
        SetSeriesActive(false); // one box for a series, not one per step
    }
}
