#pragma once
// A deck as the windows name it: its caption from the file, or "deck n" for a number the project
// has no deck for.

#include <QString>

#include <cstdint>

class TLogFile;

QString DeckCaptionText(const TLogFile& project, std::int32_t deck);
