#pragma once
// Checks on the JSON the program writes: the bytes must be well-formed UTF-8 (no overlong forms,
// no surrogates, nothing above U+10FFFF), and a string literal must read back to its text.

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

inline bool IsStrictUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const unsigned char lead = byte(0);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xc2 ? 0
                                   : lead < 0xe0 ? 2
                                   : lead < 0xf0 ? 3
                                   : lead < 0xf5 ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        const unsigned char low = lead == 0xe0 ? 0xa0 : lead == 0xf0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xed ? 0x9f : lead == 0xf4 ? 0x8f : 0xbf;
        for (std::size_t k = 1; k < length; ++k) {
            if (byte(k) < (k == 1 ? low : 0x80) || byte(k) > (k == 1 ? high : 0xbf)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// The text of one JSON string literal, or nothing when it is not one.
inline std::optional<std::string> ReadJsonString(std::string_view literal) {
    if (literal.size() < 2 || literal.front() != '"' || literal.back() != '"' ||
        !IsStrictUtf8(literal)) {
        return std::nullopt;
    }
    std::string text;
    const std::string_view body = literal.substr(1, literal.size() - 2);
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) {
            return std::nullopt;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        const std::size_t simple = i + 1 < body.size()
                                       ? std::string_view("\"\\/bfnrt").find(body[i + 1])
                                       : std::string_view::npos;
        if (simple != std::string_view::npos) {
            text += "\"\\/\b\f\n\r\t"[simple];
            ++i;
        } else if (body.substr(i + 1, 3) == "u00" && i + 6 <= body.size() &&
                   std::string_view("0123456789abcdefABCDEF").find(body[i + 4]) < 8 &&
                   std::isxdigit(static_cast<unsigned char>(body[i + 5]))) {
            text += static_cast<char>(std::stoi(std::string(body.substr(i + 4, 2)), nullptr, 16));
            i += 5;
        } else {
            return std::nullopt; // the writer escapes nothing but control characters
        }
    }
    return text;
}
