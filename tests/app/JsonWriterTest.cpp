// Captions and messages hold whatever bytes the file had; the dump must still be valid JSON.

#include "JsonWriter.h"
#include "JsonCheck.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Bytes outside printable ASCII as \xNN, so that a failure message can be read.
std::string Visible(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", u);
        shown += u >= 0x20 && u < 0x7f ? std::string(1, c) : std::string(hex);
    }
    return shown;
}

} // namespace

TEST(JsonWriter, EscapeGivesAStringThatReadsBackAsTheText) {
    // Bytes that are not well-formed UTF-8 read as Latin-1, each on its own.
    const std::pair<std::string, std::string> cases[] = {
        {"Deck \"A\" \\ B", "Deck \"A\" \\ B"},
        {std::string("a\tb\nc\x01\x7f\0d", 9), std::string("a\tb\nc\x01\x7f\0d", 9)},
        {"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
        {"Caf\xe9 \xff", "Caf\xc3\xa9 \xc3\xbf"},
        {"A\xc3", "A\xc3\x83"},                                   // cut sequence
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                         // overlong, two bytes
        {"\xe0\x80\xaf", "\xc3\xa0\xc2\x80\xc2\xaf"},             // overlong, three bytes
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},             // surrogate
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"}, // above U+10FFFF
    };
    for (const auto& [raw, text] : cases) {
        SCOPED_TRACE(Visible(raw));
        const std::string literal = "\"" + TJsonWriter::Escape(raw) + "\"";
        const std::optional<std::string> read = ReadJsonString(literal);
        if (!read) {
            ADD_FAILURE() << "not a valid JSON string: " << Visible(literal);
            continue;
        }
        EXPECT_EQ(Visible(*read), Visible(text));
    }
}
