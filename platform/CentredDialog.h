#pragma once
// A window of the program that opens centred on the main window (and kept on its screen) each
// time the program shows it; a move by the user or the window manager is left alone.

#include <QDialog>

class TCentredDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void showEvent(QShowEvent* event) override;
};
