#pragma once
// A forward-only scanner over a log file, read in large chunks. It hands out white-space separated
// words, single non-blank characters and the rest of a line, and knows the current line number
// for messages without counting lines on the hot paths.

#include "ByteSource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TLogScanner {
public:
    static constexpr int EndOfFile = -1;
    static constexpr std::size_t MaxWordLength = 255;

    explicit TLogScanner(IByteSource& source, std::size_t chunkSize = std::size_t{1} << 20);

    // The next word, at most MaxWordLength characters; a longer word is cut there and its rest
    // dropped (WordWasCut tells). The view lives until the next call. False at the end.
    bool NextWord(std::string_view& word);
    bool WordWasCut() const { return LastWordCut; }

    // The next character that is not white space, or EndOfFile.
    int NextNonBlank() {
        for (;;) {
            while (Pos != End) {
                const unsigned char c = static_cast<unsigned char>(*Pos++);
                if (!IsBlank(c)) {
                    return c;
                }
            }
            if (!Refill()) {
                return EndOfFile;
            }
        }
    }

    // The next character, left to be read, or EndOfFile.
    int PeekChar() {
        if (Pos == End && !Refill()) {
            return EndOfFile;
        }
        return static_cast<unsigned char>(*Pos);
    }
    // The same after white space, which is passed over.
    int PeekNonBlank() {
        const int c = NextNonBlank();
        if (c != EndOfFile) {
            --Pos; // still in the buffer: NextNonBlank just took it from there
        }
        return c;
    }

    // What was read ahead and not handed out yet, for a caller that reads the characters itself;
    // it tells with Consume how many it took.
    std::string_view Buffered() const { return {Pos, static_cast<std::size_t>(End - Pos)}; }
    void Consume(std::size_t count) { Pos += count; }

    enum class TLineResult { EndOfFileAtOnce, Text };
    // The rest of the current line without its line end (a carriage return before the line feed
    // belongs to the line end), at most maxLength characters; the rest of a longer line is dropped.
    TLineResult RestOfLine(std::string& text, std::size_t maxLength);

    // 1-based number of the line the scanner stands in. Counts only what was read since the
    // last call, so asking often costs no more than asking once.
    std::int64_t LineNumber();

    // Bytes handed out so far: the offset in the file of the next character.
    std::int64_t Offset() const { return ChunkStart + (Pos - Buffer.get()); }
    // Offset of the first character of the word NextWord gave last.
    std::int64_t WordOffset() const { return LastWordOffset; }
    // 1-based line and column of the character at an offset that was handed out from the chunk
    // now read, or from the end of the chunk before; the current place for anything earlier.
    struct TPlace {
        std::int64_t Line;
        std::int64_t Column;
    };
    TPlace PlaceOf(std::int64_t offset);

    static bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    // Line feeds between begin and end.
    static std::int64_t CountLineFeeds(const char* begin, const char* end);

    // Where the source can be read twice: its size (-1 elsewhere), and its bytes from an offset
    // on for another thread (null elsewhere).
    std::int64_t SourceSize() const { return Source.Size(); }
    std::unique_ptr<IByteSource> SourceFrom(std::int64_t offset) const {
        return Source.ReaderFrom(offset);
    }
    // The line the scanner stands in: the line feeds before it, and the offset where it starts.
    struct TLinePosition {
        std::int64_t LineFeedsBefore;
        std::int64_t LineStart;
    };
    TLinePosition CurrentLine();
    // Goes on at an offset ahead of the current one, which stands in the line given (read by
    // another scanner); false, with nothing changed, where the source cannot jump.
    bool JumpTo(std::int64_t offset, TLinePosition line);

private:
    bool Refill();
    std::int64_t StartOfLineAt(const char* end) const;

    IByteSource& Source;
    std::size_t ChunkSize;
    std::unique_ptr<char[]> Buffer;
    const char* Pos = nullptr;
    const char* End = nullptr;
    std::int64_t LinesBeforeChunk = 0;
    std::int64_t ChunkStart = 0;       // offset in the file of the chunk's first character
    std::int64_t LineStartAtChunk = 0; // offset of the line the chunk begins in
    std::int64_t LineStart = 0;        // offset of the line counted up to CountedUpTo
    std::int64_t LastWordOffset = 0;
    // Line feeds of the chunk already counted, up to CountedUpTo.
    const char* CountedUpTo = nullptr;
    std::int64_t LinesCounted = 0;
    bool AtEnd = false;
    bool LastWordCut = false;
    char WordBuffer[MaxWordLength + 1] = {};
};
