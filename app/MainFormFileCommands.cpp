// Choosing a log file: the open dialog, the recent files, and the memory of the last choice.

#include "MainForm.h"

#include "ByteSource.h"
#include "ProgramSettings.h"
#include "UiServices.h"

#include <QFile>

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

void TMainForm::BitBtn1Click() {
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
    const QString path = QString::fromStdString(*chosen);
    if (RefusedAsUnreadable(path)) {
        return;
    }
    if (!settings.Write(Settings::LogDir, path)) {
        ShowError(settings.LastError().toStdString());
    }
    AddToRecentFiles(path);
    LoadLogFile(path);
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
