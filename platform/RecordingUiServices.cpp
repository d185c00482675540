#include "RecordingUiServices.h"

#include <cstdio>

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
    if (FileAnswers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}
