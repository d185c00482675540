#include "token_reader.hpp"

namespace gen3dl {
namespace {

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

TokenReader::TokenReader(std::FILE* file) : file_(file), buffer_(std::size_t{1} << 20) {}

bool TokenReader::refill() {
    len_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    return len_ > 0;
}

bool TokenReader::next(std::string& word) {
    word.clear();
    newlineBefore_ = false;
    int c = get();
    while (c != EOF && isSpace(c)) {
        if (c == '\n') {
            ++line_;
            newlineBefore_ = true;
        }
        c = get();
    }
    if (c == EOF) {
        return false;
    }
    while (c != EOF && !isSpace(c)) {
        word.push_back(static_cast<char>(c));
        c = peek() == EOF || isSpace(peek()) ? EOF : get();
    }
    return true;
}

std::string TokenReader::restOfLine() {
    std::string text;
    while (peek() == ' ' || peek() == '\t') {
        get();
    }
    while (peek() != EOF && peek() != '\n') {
        text.push_back(static_cast<char>(get()));
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

} // namespace gen3dl
