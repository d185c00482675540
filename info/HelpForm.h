#pragma once
// The quick reference: how the mouse drives the 3D view and which keys start the main commands.
// Its content is fixed; the window has no close box and ends only with its Ok button or Enter.

#include "UnclosableDialog.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

class THelpForm : public TUnclosableDialog {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent);

    // The strip at the top: the mouse picture and its three labels.
    QWidget Panel1{this};
    QLabel Image1{&Panel1};
    QLabel Label1{&Panel1};
    QLabel Label2{&Panel1};
    QLabel Label3{&Panel1};
    // The key list, read-only but selectable and scrollable.
    QPlainTextEdit RichEdit1{this};
    // The strip at the bottom with the Ok button.
    QWidget Panel2{this};
    QPushButton BitBtn1{&Panel2};

protected:
private:
    void SetUpMouseLabels();
    void SetUpKeyList();
    void SetUpOkButton();
};
