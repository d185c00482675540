#include "DeckCaptionText.h"

#include "LogFile.h"
#include "TextConversion.h"

QString DeckCaptionText(const TLogFile& project, std::int32_t deck) {
    return deck >= 0 && deck < project.ZMax && deck < std::ssize(project.Decks)
               ? FromFileText(project.GetDeckCaption(deck))
               : QStringLiteral("deck %1").arg(deck);
}
