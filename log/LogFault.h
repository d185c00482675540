#pragma once
// A fault the reader found in a log file, with its place, for a checker that lists them all.

#include <algorithm>
#include <cstdint>
#include <string>

struct TLogFault {
    std::int64_t Line;   // 1-based
    std::int64_t Column; // 1-based, in bytes
    std::string Message; // one line
};

// A message of several lines on one, as a checker prints it.
inline std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}
