// Events of the main window passed on to its parts: a dropped log file, the wheel.

#include "MainWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTimer>
#include <QWheelEvent>

// Only one local file named *.3dl is taken; anything else gets the toolkit's refusing cursor.
void TMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (TProjectController::DroppedLogFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TMainWindow::dropEvent(QDropEvent* event) {
    if (const auto path = TProjectController::DroppedLogFile(event->mimeData())) {
        event->acceptProposedAction();
        // Loaded once the drop is over, so that the source of the drag is not kept waiting.
        QTimer::singleShot(0, Projects, [this, file = *path] { Projects->OpenChosenFile(file); });
    }
}

void TMainWindow::wheelEvent(QWheelEvent* event) {
    ViewCommands->ZoomByWheel(event->angleDelta().y());
    event->accept();
}
