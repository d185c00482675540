#include "RichTextList.h"

#include "TextConversion.h"

#include <QTextCharFormat>
#include <QTextCursor>

namespace {

// The report lines up its figures with tabs; stops of about half an inch keep its columns
// together in the window's width.
constexpr qreal TabStopPixels = 48;

} // namespace

TRichTextList::TRichTextList(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setAcceptRichText(false);
    // Wrapping would break the columns apart; a long line scrolls sideways instead.
    setLineWrapMode(QTextEdit::NoWrap);
    setTabStopDistance(TabStopPixels);
}

void TRichTextList::Clear() {
    clear();
    Empty = true;
}

void TRichTextList::AddLine(const std::string& text) {
    QTextCharFormat format;
    format.setFontWeight(Bold ? QFont::Bold : QFont::Normal);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const QStringList lines = FromFileText(text).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (!Empty) {
            cursor.insertBlock(QTextBlockFormat(), format);
        }
        // An empty line has no text to carry the format; its block keeps it instead.
        cursor.setBlockCharFormat(format);
        cursor.insertText(line, format);
        Empty = false;
    }
    // The list's own cursor was at the start of the empty text and moved along with the first
    // line; put it back, so that the text is shown from its top.
    setTextCursor(QTextCursor(document()));
}

void TRichTextList::SetBold(bool bold) {
    Bold = bold;
}
