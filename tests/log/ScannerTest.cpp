// The scanner reads in chunks; where a chunk ends must never change what the reader sees.

#include "LogScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Walks a text the way the reader does and writes down everything the scanner hands out.
std::vector<std::string> Walk(std::string_view text, std::size_t chunkSize) {
    TMemorySource source(text);
    TLogScanner scanner(source, chunkSize);
    std::vector<std::string> seen;
    std::string_view word;
    while (scanner.NextWord(word)) {
        const std::string line = std::to_string(scanner.LineNumber());
        seen.push_back(line + (scanner.WordWasCut() ? " cut " : " word ") + std::string(word));
        if (word == "caption") {
            std::string rest;
            const bool atEnd =
                scanner.RestOfLine(rest, 254) == TLogScanner::TLineResult::EndOfFileAtOnce;
            seen.push_back(atEnd ? "end" : "rest [" + rest + "]");
        } else if (word == "cells") {
            for (int i = 0; i < 5; ++i) {
                const int c = scanner.NextNonBlank();
                seen.push_back(std::to_string(scanner.LineNumber()) + " char " + std::to_string(c));
            }
        }
    }
    return seen;
}

const std::string Text = "alpha\t beta\r\ncaption  Main deck \r\n" + std::string(300, 'w') +
                         "\ncells 0 1\n\n P3x1\n caption\n" + std::string(260, 'c') + "\r\ncaption";

} // namespace

TEST(Scanner, ChunkBoundariesChangeNothing) {
    const std::vector<std::string> reference = Walk(Text, std::size_t{1} << 20);
    ASSERT_EQ(reference.size(), 17u);
    EXPECT_EQ(reference[3], "rest [  Main deck ]");
    EXPECT_EQ(reference[4], "3 cut " + std::string(255, 'w'));
    EXPECT_EQ(reference[8], "6 char 80"); // the "P" two lines further down
    EXPECT_EQ(reference[13], "rest []");
    EXPECT_EQ(reference[16], "end");
    for (std::size_t chunk = 1; chunk <= 17; ++chunk) {
        EXPECT_EQ(Walk(Text, chunk), reference) << "chunk size " << chunk;
    }
    EXPECT_EQ(Walk(Text, 256), reference);
}
