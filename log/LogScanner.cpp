#include "LogScanner.h"

#include <algorithm>
#include <cstring>

// Lines of a log are long (a deck's row, a person's list), so jumping from one line feed to the
// next beats looking at every character.
std::int64_t TLogScanner::CountLineFeeds(const char* begin, const char* end) {
    std::int64_t count = 0;
    for (const char* at = begin; at != end; ++count, ++at) {
        at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
        if (at == nullptr) {
            break;
        }
    }
    return count;
}

TLogScanner::TLogScanner(IByteSource& source, std::size_t chunkSize)
    : Source(source), ChunkSize(std::max<std::size_t>(chunkSize, 1)),
      Buffer(std::make_unique_for_overwrite<char[]>(ChunkSize)), Pos(Buffer.get()),
      End(Buffer.get()) {}

bool TLogScanner::Refill() {
    if (AtEnd) {
        return false;
    }
    LinesBeforeChunk += CountLineFeeds(Buffer.get(), End);
    LineStartAtChunk = StartOfLineAt(End);
    ChunkStart += End - Buffer.get();
    LineStart = LineStartAtChunk;
    const std::size_t n = Source.Read(Buffer.get(), ChunkSize);
    Pos = Buffer.get();
    End = Buffer.get() + n;
    CountedUpTo = Buffer.get();
    LinesCounted = 0;
    AtEnd = (n == 0);
    return !AtEnd;
}

std::int64_t TLogScanner::LineNumber() {
    if (CountedUpTo == nullptr || CountedUpTo > Pos) {
        CountedUpTo = Buffer.get();
        LinesCounted = 0;
        LineStart = LineStartAtChunk;
    }
    const std::int64_t lines = CountLineFeeds(CountedUpTo, Pos);
    if (lines > 0) {
        LinesCounted += lines;
        LineStart = StartOfLineAt(Pos);
    }
    CountedUpTo = Pos;
    return LinesBeforeChunk + LinesCounted + 1;
}

TLogScanner::TLinePosition TLogScanner::CurrentLine() {
    const std::int64_t line = LineNumber();
    return {line - 1, LineStart};
}

bool TLogScanner::JumpTo(std::int64_t offset, TLinePosition line) {
    if (offset < Offset()) {
        return false;
    }
    if (offset <= ChunkStart + (End - Buffer.get())) {
        Pos = Buffer.get() + (offset - ChunkStart); // lines are counted from the chunk itself
        return true;
    }
    if (!Source.SkipTo(offset)) {
        return false;
    }
    // An empty chunk at the offset, the next read from there.
    ChunkStart = offset;
    Pos = End = CountedUpTo = Buffer.get();
    LinesBeforeChunk = line.LineFeedsBefore;
    LinesCounted = 0;
    LineStartAtChunk = LineStart = line.LineStart;
    AtEnd = false;
    return true;
}

// Offset of the start of the line that the character at end belongs to, looking back no further
// than the chunk's start.
std::int64_t TLogScanner::StartOfLineAt(const char* end) const {
    const char* begin = Buffer.get();
    for (const char* p = end; p != begin; --p) {
        if (p[-1] == '\n') {
            return ChunkStart + (p - begin);
        }
    }
    return LineStartAtChunk;
}

TLogScanner::TPlace TLogScanner::PlaceOf(std::int64_t offset) {
    std::int64_t line = LineNumber();
    if (offset >= LineStart) {
        return {line, offset - LineStart + 1};
    }
    if (offset < ChunkStart - 1 || offset > Offset()) {
        return {line, Offset() - LineStart + 1};
    }
    // An earlier line of this chunk, or the last character of the chunk before.
    const char* at = Buffer.get() + std::max<std::int64_t>(offset - ChunkStart, 0);
    line -= CountLineFeeds(at, Pos);
    if (offset < ChunkStart) {
        return {line, offset - LineStartAtChunk + 1};
    }
    return {line, offset - StartOfLineAt(at) + 1};
}

bool TLogScanner::NextWord(std::string_view& word) {
    const int first = NextNonBlank();
    if (first == EndOfFile) {
        return false;
    }
    --Pos; // the first character is still in the buffer: NextNonBlank just consumed it
    const char* start = Pos;
    LastWordOffset = Offset();
    while (Pos != End && !IsBlank(static_cast<unsigned char>(*Pos))) {
        ++Pos;
    }
    std::size_t length = static_cast<std::size_t>(Pos - start);
    if (Pos != End) {
        LastWordCut = length > MaxWordLength;
        word = std::string_view(start, std::min(length, MaxWordLength));
        return true;
    }
    // The word runs into the next chunk: gather it in the word buffer.
    std::size_t kept = std::min(length, MaxWordLength);
    std::memcpy(WordBuffer, start, kept);
    while (Refill()) {
        while (Pos != End && !IsBlank(static_cast<unsigned char>(*Pos))) {
            if (kept < MaxWordLength) {
                WordBuffer[kept++] = *Pos;
            }
            ++Pos;
            ++length;
        }
        if (Pos != End) {
            break;
        }
    }
    LastWordCut = length > MaxWordLength;
    word = std::string_view(WordBuffer, kept);
    return true;
}

TLogScanner::TLineResult TLogScanner::RestOfLine(std::string& text, std::size_t maxLength) {
    text.clear();
    bool sawAnything = false;
    for (;;) {
        if (Pos == End && !Refill()) {
            break;
        }
        sawAnything = true;
        const char* lineEnd =
            static_cast<const char*>(std::memchr(Pos, '\n', static_cast<std::size_t>(End - Pos)));
        const char* stop = lineEnd != nullptr ? lineEnd : End;
        const std::size_t room = maxLength + 1 - std::min(text.size(), maxLength + 1);
        text.append(Pos, std::min(room, static_cast<std::size_t>(stop - Pos)));
        Pos = stop;
        if (lineEnd != nullptr) {
            ++Pos; // the line feed belongs to this line
            break;
        }
    }
    if (!sawAnything) {
        return TLineResult::EndOfFileAtOnce;
    }
    // One character more than allowed was kept so that a carriage return at the limit is seen.
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    if (text.size() > maxLength) {
        text.resize(maxLength);
    }
    return TLineResult::Text;
}
