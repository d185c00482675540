#pragma once
// The window that follows a load: a line of text over a bar. The program shows and closes it; the
// user cannot close it, so it stays in view until the load is over.

#include "UnclosableDialog.h"

#include "ModelViews.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>

class TProgressDialog : public TUnclosableDialog, public IProgressWindow {
    Q_OBJECT

public:
    explicit TProgressDialog(QWidget* parent = nullptr);

    // Shows the window without blocking; nothing happens while it is shown.
    void Show() override;
    // Percentages outside 0..100 are held to the nearer end.
    void SetProgress(int percent) override;
    void SetInfoText(const std::string& text) override;
    // Hides the window; the text and the bar keep their values for the next showing.
    void Close();

    QLabel ProgressInfo{this};
    QProgressBar ProgressBar{this};

protected:
};
