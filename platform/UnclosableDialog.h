#pragma once
// A window that only the program ends, such as the quick reference or the progress window: Esc
// does nothing, and a close from the window system (Alt+F4) is taken as the user's wish to end
// the program, which the main window carries out once this window is gone.

#include "CentredDialog.h"

#include <QCloseEvent>

class TUnclosableDialog : public TCentredDialog {
    Q_OBJECT

public:
    using TCentredDialog::TCentredDialog;

    void reject() override;

signals:
    // Something, as a rule the window system, asked this shown window to close; it stays.
    void ProgramCloseRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
};
