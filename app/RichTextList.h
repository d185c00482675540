#pragma once
// A read-only text area that takes the statistics report line by line, some lines in bold. The
// user can scroll it and select and copy its text, so a report longer than the window stays
// readable.

#include "ModelViews.h"

#include <QTextEdit>

class TRichTextList final : public QTextEdit, public IRichTextView {
public:
    explicit TRichTextList(QWidget* parent = nullptr);

    // Empties the text; the bold setting stays as it was.
    void Clear() override;
    // Adds text as plain text (never as markup); every line feed in it starts a further line.
    void AddLine(const std::string& text) override;
    // Applies to the lines added from now on.
    void SetBold(bool bold) override;

private:
    bool Bold = false;
    bool Empty = true;
};
