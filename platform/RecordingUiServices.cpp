#include "RecordingUiServices.h"

#include <cstdio>
#include <utility>

namespace {

// The next scripted answer of a dialog; a script used up cancels.
std::optional<std::string> NextAnswer(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

TMsgResult TRecordingUiServices::MessageBox(const std::string& title, const std::string& text,
                                            TMsgIcon icon, TMsgButtons buttons) {
    Messages.push_back({title, text, icon, buttons});
    if (EchoToStderr) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
    if (Answers.empty()) {
        return TMsgResult::Ok;
    }
    const TMsgResult answer = Answers.front();
    Answers.pop_front();
    return answer;
}

std::optional<std::string> TRecordingUiServices::OpenFileName(const TFileDialogRequest& request) {
    FileDialogs.push_back(request);
    return NextAnswer(FileAnswers);
}

std::optional<std::string> TRecordingUiServices::SaveFileName(const TFileDialogRequest& request) {
    SaveDialogs.push_back(request);
    return NextAnswer(SaveAnswers);
}

std::optional<std::string> TRecordingUiServices::ChooseDirectory(const std::string& /*title*/,
                                                                 const std::string& start) {
    DirectoryStarts.push_back(start);
    return NextAnswer(DirectoryAnswers);
}
