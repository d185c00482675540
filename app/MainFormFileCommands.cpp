// A log file dropped onto the window is opened as one chosen in the open dialog.

#include "MainForm.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTimer>

// Only one local file named *.3dl is taken; anything else gets the toolkit's refusing cursor.
void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (TProjectController::DroppedLogFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (const auto path = TProjectController::DroppedLogFile(event->mimeData())) {
        event->acceptProposedAction();
        // Loaded once the drop is over, so that the source of the drag is not kept waiting.
        QTimer::singleShot(0, Projects, [this, file = *path] { Projects->OpenChosenFile(file); });
    }
}
