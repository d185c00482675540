#pragma once

#include "output.hpp"

#include <charconv>
#include <cstdint>
#include <string>

namespace gen3dl {

// One person's move list as text, so that it can be held until the whole crowd has been walked
// when the lists are written one person after another. Runs of `shortestRun` or more equal moves
// are folded into P<n>x<d>.
class MoveText {
public:
    explicit MoveText(std::uint64_t shortestRun = 3) : shortestRun_(shortestRun) {}

    void add(int dir, std::uint64_t n = 1) {
        if (n == 0) {
            return;
        }
        if (dir == dir_) {
            count_ += n;
            return;
        }
        flush();
        dir_ = dir;
        count_ = n;
    }

    // `updown` is 'U' or 'D'; the person moves in `dir` and arrives on the other deck.
    void changeDeck(char updown, int dir) {
        flush();
        separate();
        text_.push_back(updown);
        text_.push_back(static_cast<char>('0' + dir));
    }

    // Ends the list with S.
    void end() {
        flush();
        separate();
        text_.append("S\n");
    }

    // Gives back the memory the text no longer grows into, for a list held until later.
    void shrinkToFit() { text_.shrink_to_fit(); }

    // Starts the next list in the same memory.
    void clear() { text_.clear(); }

    const std::string& text() const { return text_; }

private:
    void separate() {
        if (!text_.empty()) {
            text_.push_back(' ');
        }
    }

    void flush() {
        const char c = static_cast<char>('0' + dir_);
        if (count_ >= shortestRun_) {
            separate();
            char digits[24];
            const auto result = std::to_chars(digits, digits + sizeof digits, count_);
            text_.push_back('P');
            text_.append(digits, result.ptr);
            text_.push_back('x');
            text_.push_back(c);
        } else {
            for (std::uint64_t k = 0; k < count_; ++k) {
                separate();
                text_.push_back(c);
            }
        }
        count_ = 0;
        dir_ = -1;
    }

    std::string text_;
    std::uint64_t shortestRun_;
    std::uint64_t count_ = 0;
    int dir_ = -1;
};

// Writes one row of deck cells the same way: runs of three or more as P<n>x<c>.
inline void writeCellRow(Output& out, const char* cells, int count) {
    for (int x = 0; x < count;) {
        int n = 1;
        while (x + n < count && cells[x + n] == cells[x]) {
            ++n;
        }
        if (x > 0) {
            out.put(' ');
        }
        if (n >= 3) {
            out.put('P');
            out.putInt(n);
            out.put('x');
            out.put(cells[x]);
        } else {
            out.put(cells[x]);
            if (n == 2) {
                out.put(' ');
                out.put(cells[x]);
            }
        }
        x += n;
    }
    out.put('\n');
}

} // namespace gen3dl
