#pragma once
// Command-line modes that load a file and print what the program would show, without a display.

#include <cstdint>
#include <string>

int RunStatsMode(const std::string& fileName);
int RunDumpMode(const std::string& fileName, std::int32_t steps);
// Lists every fault of the file as FILE:LINE:COLUMN: message, then a summary; 0 when the file is
// clean, 1 when it has faults, 2 when it cannot be read.
int RunCheckMode(const std::string& fileName);
// Prints the track of person `number` (from 1, in the order of the file) as CSV, a row per time
// step from 0 to the length of its move list; 1 when the file cannot be loaded or has no such
// person.
int RunPersonMode(const std::string& fileName, std::int32_t number);

// Fields of the CSV reports. A whole number; steps / vMax + offsetSeconds seconds with three
// decimals, rounded (without a valid speed no time passes, as in the replay).
void AppendNumber(std::string& text, std::int64_t value);
void AppendSeconds(std::string& text, std::int64_t steps, std::int32_t vMax,
                   std::int32_t offsetSeconds);
