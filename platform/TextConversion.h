#pragma once
// Texts from log files and from the model are 8-bit. Newer files carry UTF-8; older tools wrote
// captions in Latin-1. This is the one place where such a text becomes a Qt string.

#include <QString>

#include <string_view>

// The text read as UTF-8 when all of it is valid UTF-8, else as Latin-1, which reads any bytes.
// The choice is made for the whole text, never byte by byte.
QString FromFileText(std::string_view text);
