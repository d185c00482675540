#include "ProgressDialog.h"

#include "TextConversion.h"

#include <algorithm>

namespace {

constexpr int ClientWidth = 292;
constexpr int ClientHeight = 50;
constexpr int BarHeight = 25;
constexpr int TextMargin = 8;

} // namespace

// A title bar without close, minimise or maximise buttons.
TProgressDialog::TProgressDialog(QWidget* parent)
    : TUnclosableDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Progress"));
    setFixedSize(ClientWidth, ClientHeight);

    ProgressInfo.setTextFormat(Qt::PlainText);
    ProgressInfo.setWordWrap(false);
    ProgressInfo.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ProgressInfo.setGeometry(TextMargin, 0, ClientWidth - 2 * TextMargin, ClientHeight - BarHeight);
    ProgressInfo.setText(QStringLiteral("..."));

    ProgressBar.setGeometry(0, ClientHeight - BarHeight, ClientWidth, BarHeight);
    ProgressBar.setRange(0, 100);
    ProgressBar.setValue(0);
    // The text above says what is loading; a percentage beside the bar would only repeat it.
    ProgressBar.setTextVisible(false);
}

void TProgressDialog::Show() {
    // The reader calls this for every word it reads; keep it cheap while the window is up.
    if (isVisible()) {
        return;
    }
    show();
}

// A progress bar paints itself at once at each visible change, and each such paint waits for the
// window system: the bar is drawn when the event loop next comes round instead (some 65 ms of a
// 400 ms load, in a hundred paints).
void TProgressDialog::SetProgress(int percent) {
    ProgressBar.setUpdatesEnabled(false);
    ProgressBar.setValue(std::clamp(percent, 0, 100));
    ProgressBar.setUpdatesEnabled(true); // asks for the paint
}

void TProgressDialog::SetInfoText(const std::string& text) {
    ProgressInfo.setText(FromFileText(text));
}

void TProgressDialog::Close() {
    hide();
}
