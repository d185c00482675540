#pragma once
// The quick reference: how the mouse drives the 3D view and which keys start the main commands.
// Its content is fixed; the window has no close box and ends only with its Ok button or Enter.

#include "UnclosableDialog.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

class TQuickReferenceWindow : public TUnclosableDialog {
    Q_OBJECT

public:
    explicit TQuickReferenceWindow(QWidget* parent);

    // The strip at the top: the mouse picture and its three labels.
    QWidget MouseStrip{this};
    QLabel MousePicture{&MouseStrip};
    QLabel RotateLabel{&MouseStrip};
    QLabel ZoomLabel{&MouseStrip};
    QLabel MoveLabel{&MouseStrip};
    // The key list, read-only but selectable and scrollable.
    QPlainTextEdit KeyList{this};
    // The strip at the bottom with the Ok button.
    QWidget ButtonStrip{this};
    QPushButton OkButton{&ButtonStrip};

protected:
private:
    void SetUpMouseLabels();
    void SetUpKeyList();
    void SetUpOkButton();
};
