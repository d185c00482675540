#pragma once
// The views the model writes into, as plain C++: the progress of a load, and the text of the
// statistics report. The application implements them with its windows.

#include <string>

// What a long-running load shows the user: a bar and a line of text.
class IProgressWindow {
public:
    virtual ~IProgressWindow() = default;
    virtual void Show() = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void SetInfoText(const std::string& text) = 0;
};

// A text view that takes lines, some of them in bold.
class IRichTextView {
public:
    virtual ~IRichTextView() = default;
    virtual void Clear() = 0;
    virtual void AddLine(const std::string& text) = 0;
    virtual void SetBold(bool bold) = 0;
};

// A progress window that shows nothing, for callers without a window.
class TNoProgressWindow final : public IProgressWindow {
public:
    void Show() override {}
    void SetProgress(int) override {}
    void SetInfoText(const std::string&) override {}
};
