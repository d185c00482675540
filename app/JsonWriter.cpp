#include "JsonWriter.h"

#include <cmath>

namespace {

// The range the second byte of a UTF-8 sequence must lie in, which rules out overlong forms,
// surrogates and code points beyond U+10FFFF.
struct TByteRange {
    unsigned char Low, High;
};

TByteRange SecondByteRange(unsigned char lead) {
    switch (lead) {
    case 0xe0:
        return {0xa0, 0xbf};
    case 0xed:
        return {0x80, 0x9f};
    case 0xf0:
        return {0x90, 0xbf};
    case 0xf4:
        return {0x80, 0x8f};
    default:
        return {0x80, 0xbf};
    }
}

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
    }
    if (length == 0 || i + length > text.size()) {
        return 0;
    }
    const TByteRange second = SecondByteRange(lead);
    const auto secondByte = static_cast<unsigned char>(text[i + 1]);
    if (secondByte < second.Low || secondByte > second.High) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) {
            return 0;
        }
    }
    return length;
}

void AppendLatin1(std::string& out, unsigned char c) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
}

} // namespace

std::string TJsonWriter::Escape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                AppendLatin1(out, c);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

void TJsonWriter::BeforeValue() {
    if (AfterKey) {
        AfterKey = false;
        return;
    }
    if (!HasMembers.empty()) {
        if (HasMembers.back()) {
            std::fputc(',', Out);
        }
        HasMembers.back() = true;
    }
}

void TJsonWriter::BeginObject() {
    BeforeValue();
    std::fputc('{', Out);
    HasMembers.push_back(false);
}

void TJsonWriter::EndObject() {
    HasMembers.pop_back();
    std::fputc('}', Out);
}

void TJsonWriter::BeginArray() {
    BeforeValue();
    std::fputc('[', Out);
    HasMembers.push_back(false);
}

void TJsonWriter::EndArray() {
    HasMembers.pop_back();
    std::fputc(']', Out);
}

void TJsonWriter::Key(std::string_view name) {
    BeforeValue();
    std::fprintf(Out, "\"%s\":", Escape(name).c_str());
    AfterKey = true;
}

void TJsonWriter::Int(std::int64_t value) {
    BeforeValue();
    std::fprintf(Out, "%lld", static_cast<long long>(value));
}

void TJsonWriter::Float(float value) {
    BeforeValue();
    if (std::isfinite(value)) {
        std::fprintf(Out, "%.9g", double{value});
    } else {
        std::fputs("null", Out);
    }
}

void TJsonWriter::Bool(bool value) {
    BeforeValue();
    std::fputs(value ? "true" : "false", Out);
}

void TJsonWriter::String(std::string_view text) {
    BeforeValue();
    std::fprintf(Out, "\"%s\"", Escape(text).c_str());
}

void TJsonWriter::IntField(std::string_view name, std::int64_t value) {
    Key(name);
    Int(value);
}

void TJsonWriter::FloatField(std::string_view name, float value) {
    Key(name);
    Float(value);
}

void TJsonWriter::BoolField(std::string_view name, bool value) {
    Key(name);
    Bool(value);
}

void TJsonWriter::StringField(std::string_view name, std::string_view text) {
    Key(name);
    String(text);
}
