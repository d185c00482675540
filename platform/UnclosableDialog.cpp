#include "UnclosableDialog.h"

void TUnclosableDialog::reject() {}

void TUnclosableDialog::closeEvent(QCloseEvent* event) {
    // A hidden window lets itself be closed, so that it never holds up the end of the program.
    QDialog::closeEvent(event);
    if (!event->isAccepted()) {
        emit ProgramCloseRequested();
    }
}
