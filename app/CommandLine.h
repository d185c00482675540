#pragma once
// What the user asked for on the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The frames --render writes, as given; the render mode checks the values.
struct TRenderRequest {
    std::string OutDir;
    std::int32_t Deck = 0;
    std::int32_t From = 0;
    std::optional<std::int32_t> To; // none: the step at which everybody has left
    std::int32_t Every = 1;
    std::int32_t Width = 1280;
    std::int32_t Height = 720;
};

struct TCommandLine {
    enum class TMode { Gui, Stats, Dump, Check, Curve, Render, Help, Version };
    TMode Mode = TMode::Gui;
    std::string FileName;   // the log file; for the window, the optional file to open
    std::int32_t Steps = 0; // playback steps before a dump
    TRenderRequest Render;
};

// Nothing when the arguments make no sense; the caller prints the usage.
std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args);

extern const char* const UsageText;
