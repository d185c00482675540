#pragma once
// The common spellings of a person's move entries, read straight from text: single digits, runs
// "P<count>x<digit>" with a count of up to nine digits, and "U<digit>" or "D<digit>". Anything else
// is left to the careful reading, which knows what to tell about it.

#include "LogScanner.h"
#include "MoveList.h"

#include <bit>
#include <cstdint>
#include <cstring>

// The most characters an entry in these spellings takes, "P123456789x0", and the one after it.
inline constexpr std::size_t LongestPlainEntry = 12;

inline bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Whether eight characters are four single digits each followed by a space, "3 1 0 0 ", as most
// of a list without runs reads: each 16-bit lane holds a digit in its low byte (the file's first
// character in the lowest) and a space in its high one. Adding to a lane's low byte cannot carry
// into the next lane, so one addition tests the four digits at once.
inline bool IsFourSingleDigits(std::uint64_t text) {
    constexpr std::uint64_t Lanes = 0x0001000100010001;
    constexpr std::uint64_t HighBits = 0x8000 * Lanes;
    if ((text & (0xff00 * Lanes)) != (std::uint64_t{' '} << 8) * Lanes) {
        return false;
    }
    const std::uint64_t low = text & (0x00ff * Lanes);
    const std::uint64_t fromZero = low + (0x8000 - '0') * Lanes;     // high bit: at least '0'
    const std::uint64_t pastNine = low + (0x8000 - '9' - 1) * Lanes; // high bit: beyond '9'
    return (fromZero & ~pastNine & HighBits) == HighBits;
}

struct TPlainStop {
    const char* At; // the first character not read
    bool ListEnded; // at the "S" that ends the list, which was read
};

// Reads entries from text into list while they start before end; the text must go on for at least
// LongestPlainEntry characters after end. After each run, whose count alone may pass a list's
// limits, afterRun() tells whether to read on. Stops at end, at the "S" that ends the list, or
// before anything in another spelling.
template <typename TAfterRun>
TPlainStop ReadPlainEntries(const char* p, const char* end, TMoveList::TBuilder::TWriter& list,
                            TAfterRun afterRun) {
    while (p < end) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, p, sizeof eight);
        if (std::endian::native == std::endian::little && IsFourSingleDigits(eight)) {
            for (int lane = 0; lane < 4; ++lane) {
                const auto digit = static_cast<std::int32_t>((eight >> (16 * lane)) & 0xff) - '0';
                list.AddOne({digit, 0});
            }
            p += sizeof eight;
            continue;
        }
        const auto c = static_cast<unsigned char>(*p);
        if (const auto digit = static_cast<unsigned>(c - '0'); digit < 10) {
            list.AddOne({static_cast<std::int32_t>(digit), 0});
            ++p;
        } else if (TLogScanner::IsBlank(c)) {
            ++p;
        } else if (c == 'P') {
            const char* q = p + 1;
            std::int32_t count = 0;
            for (const char* const digitsEnd = q + 9; q < digitsEnd && IsDigit(*q); ++q) {
                count = count * 10 + (*q - '0');
            }
            if (q == p + 1 || *q != 'x' || !IsDigit(q[1])) {
                return {p, false};
            }
            list.Add(count, {q[1] - '0', 0});
            p = q + 2;
            if (!afterRun()) {
                return {p, false};
            }
        } else if ((c == 'U' || c == 'D') && IsDigit(p[1])) {
            list.AddOne({p[1] - '0', c == 'U' ? 1 : -1});
            p += 2;
        } else {
            return c == 'S' ? TPlainStop{p + 1, true} : TPlainStop{p, false};
        }
    }
    return {p, false};
}
