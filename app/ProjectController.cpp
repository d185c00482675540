#include "ProjectController.h"

#include "ByteSource.h"
#include "MessageNesting.h"
#include "ProgramSettings.h"
#include "UiServices.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <utility>

namespace {

// A missing file, a folder or a device is refused before anything is remembered or loaded.
bool RefusedAsUnreadable(const QString& path) {
    const std::string message = CannotOpenMessage(QFile::encodeName(path).toStdString());
    if (!message.empty()) {
        ShowError(message);
    }
    return !message.empty();
}

} // namespace

TProjectController::TProjectController(QObject* parent) : QObject(parent) {}

void TProjectController::LoadLogFile(const QString& path) {
    if (ProjectInUse()) {
        WaitingLoad = path;
        WaitForProject();
        return;
    }
    Loading = true;
    emit LoadStarting(path);
    DropProject();
    LogFile = std::make_unique<TLogFile>("Level");
    LogFile->ReportTo(Reports);
    LogLoaded = true;
    TNoProgressWindow noProgress;
    if (LogFile->Load(QFile::encodeName(path).toStdString(),
                      Progress != nullptr ? *Progress : noProgress)) {
        emit FileLoaded(path);
    }
    ProcessPendingMessages();
    emit ProjectArriving(*LogFile);
    Replay.SetProject(LogFile.get());
    emit ProjectShown();
    emit LoadEnding();
    Loading = false; // a close or load asked for meanwhile is already waiting to be carried out
}

void TProjectController::DropProject() {
    Replay.SetProject(nullptr);
    emit ProjectDropping();
    LogFile.reset();
}

bool TProjectController::ProjectInUse() const {
    return Loading || TMessageNesting::Active();
}

void TProjectController::RequestClose() {
    CloseRequested = true;
    WaitForProject();
}

void TProjectController::WaitForProject() {
    if (!CarryOutPending) {
        CarryOutPending = true;
        TMessageNesting::RunWhenNotNested(this, [this] { CarryOutWaitingRequests(); });
    }
}

void TProjectController::CarryOutWaitingRequests() {
    CarryOutPending = false;
    if (ProjectInUse()) {
        WaitForProject();
        return;
    }
    if (CloseRequested) {
        ForgetWaitingRequests(); // a load chosen before the close would be thrown away at once
        emit CloseDue();
    } else if (!WaitingLoad.isEmpty()) {
        LoadLogFile(std::exchange(WaitingLoad, QString()));
    }
}

void TProjectController::ForgetWaitingRequests() {
    CloseRequested = false;
    WaitingLoad.clear();
}

void TProjectController::OpenLogFile() {
    TProgramSettings settings;
    // "LogDir" holds the last file chosen: its folder is where the dialog starts, its name the
    // name it proposes.
    const QString last = settings.Read(Settings::LogDir);
    const qsizetype cut = last.lastIndexOf('/') + 1;
    TFileDialogRequest request{"Load Log File", "3D log file (*.3dl)", last.left(cut).toStdString(),
                               last.mid(cut).toStdString(), "3dl"};
    const auto chosen = Ui().OpenFileName(request);
    if (!chosen) {
        return;
    }
    OpenChosenFile(QString::fromStdString(*chosen));
}

// A file chosen in the dialog or dropped onto the window: remembered as the last one chosen and
// the most recent, then loaded.
void TProjectController::OpenChosenFile(const QString& path) {
    if (RefusedAsUnreadable(path)) {
        return;
    }
    TProgramSettings settings;
    if (!settings.Write(Settings::LogDir, path)) {
        ShowError(settings.LastError().toStdString());
    }
    AddToRecentFiles(path);
    LoadLogFile(path);
}

std::optional<QString> TProjectController::DroppedLogFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".3dl", Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return url.toLocalFile();
}

void TProjectController::AddToRecentFiles(const QString& path) {
    RecentFiles.Add(path);
    TProgramSettings settings;
    if (!RecentFiles.WriteToStore(settings)) {
        ShowError(settings.LastError().toStdString());
    }
    emit RecentFilesChanged();
}

void TProjectController::OpenRecent(int index) {
    const QString path = RecentFiles.Path(index);
    if (RefusedAsUnreadable(path)) {
        return;
    }
    LoadLogFile(path);
}
