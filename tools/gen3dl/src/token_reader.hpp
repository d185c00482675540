#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace gen3dl {

// Splits a file into words separated by blanks, tabs and line ends, and remembers whether a
// line end came before each word, so the checker can insist on one row or list per line.
class TokenReader {
public:
    explicit TokenReader(std::FILE* file);

    // The next word; false at the end of the file.
    bool next(std::string& word);
    bool newlineBefore() const { return newlineBefore_; }
    long line() const { return line_; }

    // The rest of the current line after the last word, without the leading blanks.
    std::string restOfLine();

    bool readFailed() const { return std::ferror(file_) != 0; }

private:
    int get() {
        if (pos_ == len_ && !refill()) {
            return EOF;
        }
        return static_cast<unsigned char>(buffer_[pos_++]);
    }
    int peek() {
        if (pos_ == len_ && !refill()) {
            return EOF;
        }
        return static_cast<unsigned char>(buffer_[pos_]);
    }
    bool refill();

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    long line_ = 1;
    bool newlineBefore_ = true;
};

} // namespace gen3dl
