#pragma once
// The services the program installs at start: real message boxes and Qt's event loop; and the
// placing of the program's small windows.

#include "UiServices.h"

class QWidget;

class TQtUiServices final : public IUiServices {
public:
    // A modal box over the active window. Closing a box with a choice in any other way than with
    // OK (Esc, the window's close) answers Cancel; a box with only OK always answers OK.
    TMsgResult MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                          TMsgButtons buttons) override;
    void ProcessMessages() override;
    // The toolkit's open dialog over the active window; the filter "Name (*.ext)" as given.
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override;
};

// Moves a window so that its client area is centred on the client area of its parent's top-level
// window, kept inside that window's screen. Call it as the window shows: QDialog's own centring
// guesses at window frames it cannot measure and lands tens of pixels off.
void CentreOnParent(QWidget& window);
