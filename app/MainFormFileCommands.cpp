// Choosing a log file: the open dialog, the recent files, and the memory of the last choice.

#include "MainForm.h"

#include "ByteSource.h"
#include "ProgramSettings.h"
#include "UiServices.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

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

void TMainForm::OpenLogFile() {
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
void TMainForm::OpenChosenFile(const QString& path) {
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

// Only one local file named *.3dl is taken; anything else gets the toolkit's refusing cursor.
std::optional<QString> TMainForm::DroppedLogFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".3dl", Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return url.toLocalFile();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedLogFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (const auto path = DroppedLogFile(event->mimeData())) {
        event->acceptProposedAction();
        // Loaded once the drop is over, so that the source of the drag is not kept waiting.
        QTimer::singleShot(0, this, [this, file = *path] { OpenChosenFile(file); });
    }
}

void TMainForm::AddToRecentFiles(const QString& path) {
    RecentFiles.Add(path);
    TProgramSettings settings;
    if (!RecentFiles.WriteToStore(settings)) {
        ShowError(settings.LastError().toStdString());
    }
    ShowRecentFiles();
}

void TMainForm::OpenRecent(int index) {
    const QString path = RecentFiles.Path(index);
    if (RefusedAsUnreadable(path)) {
        return;
    }
    LoadLogFile(path);
}
