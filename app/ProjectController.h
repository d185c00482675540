#pragma once
// The loaded project and its replay: loading, with the loads and the close that wait while the
// project is in use, and the files to load: the open dialog, the recent files, drops.

#include "BoxReports.h"
#include "LogFile.h"
#include "RecentFiles.h"
#include "Replay.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QMimeData;
class IProgressWindow;

class TProjectController : public QObject {
    Q_OBJECT

public:
    explicit TProjectController(QObject* parent);

    // Follows each load; none, then the load is not shown.
    void SetProgressWindow(IProgressWindow* window) { Progress = window; }

    // Replaces the project by the file at path; waits while the project is in use.
    void LoadLogFile(const QString& path);
    // True from the start of a load to its end.
    bool IsLoading() const { return Loading; }
    // True while a load runs or a command that uses the project waits for message processing
    // (a step, a tick, a pause playing on, a message box): a close or a load asked for then
    // waits until it has finished.
    bool ProjectInUse() const;
    // The close waits for the project; CloseDue tells when it can go ahead.
    void RequestClose();
    // Asked for while the pause played on: the window is closing now.
    void ForgetWaitingRequests();
    // Nothing may step or draw the project once it is gone.
    void DropProject();
    // The project, or none while none is loaded.
    const TLogFile* Project() const { return LogLoaded ? LogFile.get() : nullptr; }

    void OpenLogFile();
    void OpenRecent(int index);
    // A file chosen in the dialog or dropped onto the window: remembered as the last one chosen
    // and the most recent, then loaded.
    void OpenChosenFile(const QString& path);
    // The log file a drag carries, when it carries one and nothing else.
    static std::optional<QString> DroppedLogFile(const QMimeData* data);

    // What the user is told of the project's faults; it outlives every project.
    TBoxReports Reports;
    std::unique_ptr<TLogFile> LogFile;
    bool LogLoaded = false;
    TReplay Replay;
    TRecentFiles RecentFiles;

signals:
    // In the order of a load: the controls go off, the old project goes, the file was read
    // whole, the new project is there to show (before the replay takes it), shown, and the load
    // is over.
    void LoadStarting(const QString& path);
    void ProjectDropping();
    void FileLoaded(const QString& path);
    void ProjectArriving(TLogFile& project);
    void ProjectShown();
    void LoadEnding();
    void RecentFilesChanged();
    // A close that waited for the project can go ahead.
    void CloseDue();

private:
    void AddToRecentFiles(const QString& path);
    void WaitForProject();
    void CarryOutWaitingRequests();

    IProgressWindow* Progress = nullptr;
    bool Loading = false;
    // A close and a load that wait for the project; of several loads, the last one chosen.
    bool CloseRequested = false;
    QString WaitingLoad;
    bool CarryOutPending = false;
};
