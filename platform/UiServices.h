#pragma once
// What the program needs from a user interface (message boxes, file dialogs, message processing),
// as plain C++ so that the headless modes and the tests run without any GUI toolkit.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TMsgIcon { None, Exclamation, Error };
enum class TMsgButtons { Ok, OkCancel };
enum class TMsgResult { Ok, Cancel };

// What an open or save dialog is asked to show: its title, the filter ("3D log file (*.3dl)"), the
// directory it starts in, the file name it proposes, and the extension a bare name gets.
struct TFileDialogRequest {
    std::string Title;
    std::string Filter;
    std::string Directory;
    std::string FileName;
    std::string DefaultSuffix;
};

class IUiServices {
public:
    virtual ~IUiServices() = default;
    // The file the user chose, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFileName(const TFileDialogRequest&) {
        return std::nullopt;
    }
    // The files the user chose in an open dialog that takes several; nothing when the dialog was
    // cancelled.
    virtual std::optional<std::vector<std::string>> OpenFileNames(const TFileDialogRequest&) {
        return std::nullopt;
    }
    // The file the user chose in a save dialog (which asks itself before returning an existing
    // file's name), or nothing when cancelled.
    virtual std::optional<std::string> SaveFileName(const TFileDialogRequest&) {
        return std::nullopt;
    }
    // A directory chooser that starts at `start`; the user may type a directory that does not
    // exist yet, which is created after asking. Nothing when cancelled (or when the directory
    // could not be created, after saying why).
    virtual std::optional<std::string> ChooseDirectory(const std::string& /*title*/,
                                                       const std::string& /*start*/) {
        return std::nullopt;
    }
    // A whole number from `lowest` to `highest`, asked for in a small modal window that offers
    // `proposed`; nothing when cancelled.
    virtual std::optional<std::int32_t>
    AskNumber(const std::string& /*title*/, const std::string& /*label*/, std::int32_t /*proposed*/,
              std::int32_t /*lowest*/, std::int32_t /*highest*/) {
        return std::nullopt;
    }
    // A modal message box; returns the button the user chose.
    virtual TMsgResult MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                                  TMsgButtons buttons) = 0;
    // Lets the toolkit repaint and handle input in the middle of long work.
    virtual void ProcessMessages() = 0;
};

// The one process-wide services object. The program installs the toolkit's, tests and headless
// modes install a recording one. Until someone installs one, boxes are dropped.
class TSilentUiServices final : public IUiServices {
public:
    TMsgResult MessageBox(const std::string&, const std::string&, TMsgIcon, TMsgButtons) override {
        return TMsgResult::Ok;
    }
    void ProcessMessages() override {}
};

inline IUiServices*& UiServicesSlot() {
    static TSilentUiServices silent;
    static IUiServices* current = &silent;
    return current;
}

inline IUiServices& Ui() {
    return *UiServicesSlot();
}

// Installs a services object for the lifetime of this guard.
class TScopedUiServices {
public:
    explicit TScopedUiServices(IUiServices& services) : Previous(UiServicesSlot()) {
        UiServicesSlot() = &services;
    }
    ~TScopedUiServices() { UiServicesSlot() = Previous; }
    TScopedUiServices(const TScopedUiServices&) = delete;
    TScopedUiServices& operator=(const TScopedUiServices&) = delete;

private:
    IUiServices* Previous;
};

// Shorthands for the box styles the program uses.
inline void ShowWarning(const std::string& text) {
    Ui().MessageBox("Warning", text, TMsgIcon::Exclamation, TMsgButtons::Ok);
}
inline void ShowError(const std::string& text) {
    Ui().MessageBox("Error", text, TMsgIcon::Error, TMsgButtons::Ok);
}
