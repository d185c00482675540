#pragma once
// What the user asked for on the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TCommandLine {
    enum class TMode { Gui, Stats, Dump, Check, Help, Version };
    TMode Mode = TMode::Gui;
    std::string FileName;   // the log file; for the window, the optional file to open
    std::int32_t Steps = 0; // playback steps before a dump
};

// Nothing when the arguments make no sense; the caller prints the usage.
std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args);

extern const char* const UsageText;
