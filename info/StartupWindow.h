#pragma once
// The startup window: the product picture, a short notice and the version, shown modally for a
// set time. A click ends only a long showing, so the short one at start-up cannot be skipped.

#include "UnclosableDialog.h"

#include <QDialog>
#include <QLabel>
#include <QTimer>

class TStartupWindow : public TUnclosableDialog {
    Q_OBJECT

public:
    explicit TStartupWindow(QWidget* parent = nullptr);

    // The length of the next showing in milliseconds; 0 or less ends it as soon as it is shown.
    void SetDisplayTime(int milliseconds);

    // The window ends only by its time or a click.
    void done(int result) override;

    QLabel AmblaImage{this};
    QLabel NoticeLabel{this};
    QLabel VersionLabel{this};
    QTimer ShowingTimer{this};

protected:
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void StartShowing();
    void EndShowing();
};
