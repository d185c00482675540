#pragma once
// Command-line modes that load a file and print what the program would show, without a display.

#include <cstdint>
#include <string>

int RunStatsMode(const std::string& fileName);
int RunDumpMode(const std::string& fileName, std::int32_t steps);
