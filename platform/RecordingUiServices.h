#pragma once
// Services that remember every message box in order and answer from a script. Used by tests and
// by the headless command-line modes, which also echo each box to stderr.

#include "UiServices.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct TRecordedMessage {
    std::string Title;
    std::string Text;
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = TMsgButtons::Ok;
};

class TRecordingUiServices final : public IUiServices {
public:
    explicit TRecordingUiServices(bool echoToStderr = false) : EchoToStderr(echoToStderr) {}

    TMsgResult MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                          TMsgButtons buttons) override;
    void ProcessMessages() override {
        ++ProcessMessagesCalls;
        if (DuringProcessMessages) {
            DuringProcessMessages();
        }
    }
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override;
    std::optional<std::vector<std::string>>
    OpenFileNames(const TFileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseDirectory(const std::string& title,
                                               const std::string& start) override;
    std::optional<std::int32_t> AskNumber(const std::string& title, const std::string& label,
                                          std::int32_t proposed, std::int32_t lowest,
                                          std::int32_t highest) override;

    std::vector<TRecordedMessage> Messages;
    // Answers given to boxes in turn; once used up, every box is answered OK.
    std::deque<TMsgResult> Answers;
    long ProcessMessagesCalls = 0;
    // Run whenever messages would be processed: a test's look inside a long operation.
    std::function<void()> DuringProcessMessages;
    // Open dialogs asked for, and the files chosen in turn; once used up, dialogs are cancelled.
    std::vector<TFileDialogRequest> FileDialogs;
    std::deque<std::optional<std::string>> FileAnswers;
    // The same for open dialogs that take several files.
    std::vector<TFileDialogRequest> FilesDialogs;
    std::deque<std::optional<std::vector<std::string>>> FilesAnswers;
    // The same for save dialogs.
    std::vector<TFileDialogRequest> SaveDialogs;
    std::deque<std::optional<std::string>> SaveAnswers;
    // The directories the choosers started at, and the directories chosen in turn; once used
    // up, choosers are cancelled.
    std::vector<std::string> DirectoryStarts;
    std::deque<std::optional<std::string>> DirectoryAnswers;
    // The number prompts, as "label lowest..highest", and the numbers typed in turn, each held
    // to the prompt's range as the window holds it; once used up, prompts are cancelled.
    std::vector<std::string> NumberPrompts;
    std::deque<std::optional<std::int32_t>> NumberAnswers;

private:
    bool EchoToStderr;
};
