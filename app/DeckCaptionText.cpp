#include "DeckCaptionText.h"

#include "LogFile.h"
#include "Replay.h"
#include "TextConversion.h"

#include <algorithm>

QString DeckCaptionText(const TLogFile& project, std::int32_t deck) {
    return deck >= 0 && deck < project.ZMax && deck < std::ssize(project.Decks)
               ? FromFileText(project.GetDeckCaption(deck))
               : QStringLiteral("deck %1").arg(deck);
}

QString FrameCaptionText(const TLogFile& project, const TReplay& replay, std::int32_t deck) {
    const auto persons = static_cast<std::int32_t>(project.Persons.size()) +
                         std::max(project.UndescribedPersons(), 0);
    const QString gap = QStringLiteral("   ");
    return QString::fromStdString(replay.TimeText()) + gap + QStringLiteral("Deck: ") +
           DeckCaptionText(project, deck) + gap +
           QString::fromStdString(SavedOfText(replay.SavedCount(), persons));
}
