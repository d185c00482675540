#pragma once
// The services the program installs at start: real message boxes and Qt's event loop; and the
// placing of the program's small windows.

#include "UiServices.h"

class QString;
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
    // The same dialog, for several existing files.
    std::optional<std::vector<std::string>>
    OpenFileNames(const TFileDialogRequest& request) override;
    // The toolkit's save dialog, which asks before it returns the name of an existing file.
    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override;
    // Qt's own directory chooser, on every desktop alike, so that a typed new directory is
    // taken; this object's boxes ask before creating it and say when that failed.
    std::optional<std::string> ChooseDirectory(const std::string& title,
                                               const std::string& start) override;
    std::optional<std::int32_t> AskNumber(const std::string& title, const std::string& label,
                                          std::int32_t proposed, std::int32_t lowest,
                                          std::int32_t highest) override;

private:
    // True when the directory exists or was created after asking; false when the user declined
    // or it could not be created, which a box has said.
    bool MadeSureExists(const QString& directory);
};

// Moves a window so that its client area is centred on the client area of its parent's top-level
// window, kept inside that window's screen. Call it as the window shows: QDialog's own centring
// guesses at window frames it cannot measure and lands tens of pixels off.
void CentreOnParent(QWidget& window);
