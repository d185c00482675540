#include "RecordingUiServices.h"

#include <algorithm>

#include <cstdio>
#include <utility>

namespace {

// The next scripted answer of a dialog; a script used up cancels.
template <typename T> std::optional<T> NextAnswer(std::deque<std::optional<T>>& answers) {
    std::optional<T> answer;
    if (!answers.empty()) {
        // Swapped out: moving it out of an optional vector makes GCC -O3 warn, wrongly, that it
        // may be used uninitialised.
        answer.swap(answers.front());
        answers.pop_front();
    }
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

std::optional<std::vector<std::string>>
TRecordingUiServices::OpenFileNames(const TFileDialogRequest& request) {
    FilesDialogs.push_back(request);
    return NextAnswer(FilesAnswers);
}

std::optional<std::string> TRecordingUiServices::SaveFileName(const TFileDialogRequest& request) {
    SaveDialogs.push_back(request);
    return NextAnswer(SaveAnswers);
}

std::optional<std::int32_t> TRecordingUiServices::AskNumber(const std::string& /*title*/,
                                                            const std::string& label,
                                                            std::int32_t /*proposed*/,
                                                            std::int32_t lowest,
                                                            std::int32_t highest) {
    NumberPrompts.push_back(label + " " + std::to_string(lowest) + ".." + std::to_string(highest));
    const std::optional<std::int32_t> typed = NextAnswer(NumberAnswers);
    if (!typed) {
        return std::nullopt;
    }
    return std::clamp(*typed, lowest, std::max(lowest, highest));
}

std::optional<std::string> TRecordingUiServices::ChooseDirectory(const std::string& /*title*/,
                                                                 const std::string& start) {
    DirectoryStarts.push_back(start);
    return NextAnswer(DirectoryAnswers);
}
