#pragma once

#include "output.hpp"

#include <cstdint>

namespace gen3dl {

// Writes one move list, folding runs of `shortestRun` or more equal moves into P<n>x<d>.
class MoveEncoder {
public:
    explicit MoveEncoder(Output& out, std::uint64_t shortestRun = 3)
        : out_(out), shortestRun_(shortestRun) {}

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
        out_.put(updown);
        out_.put(static_cast<char>('0' + dir));
    }

    void end() {
        flush();
        separate();
        out_.put('S');
        out_.put('\n');
        first_ = true;
    }

private:
    void separate() {
        if (!first_) {
            out_.put(' ');
        }
        first_ = false;
    }

    void flush() {
        const char c = static_cast<char>('0' + dir_);
        if (count_ >= shortestRun_) {
            separate();
            out_.put('P');
            out_.putInt(static_cast<long long>(count_));
            out_.put('x');
            out_.put(c);
        } else {
            for (std::uint64_t k = 0; k < count_; ++k) {
                separate();
                out_.put(c);
            }
        }
        count_ = 0;
        dir_ = -1;
    }

    Output& out_;
    std::uint64_t shortestRun_;
    int dir_ = -1;
    std::uint64_t count_ = 0;
    bool first_ = true;
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
