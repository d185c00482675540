#pragma once
// A one-line progress bar for work done in counted pieces on the command line: redrawn in place
// on a terminal, and written as plain lines, at most about one a second, anywhere else (a log
// file or a pipe should not fill with carriage returns).

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// "frame 12 of 240 [###.................]   8.3 frames/s, 0:27 left"; the rate and the time
// left once there is a rate to tell.
std::string ProgressText(std::int64_t done, std::int64_t total, double elapsedSeconds);

class TProgressLine {
public:
    TProgressLine(std::FILE* out, std::int64_t total);
    TProgressLine(std::FILE* out, std::int64_t total, bool inPlace);

    // done pieces of the total are finished.
    void Show(std::int64_t done);
    // Ends the line on a terminal.
    void Finish();

private:
    using TClock = std::chrono::steady_clock;

    std::FILE* Out;
    std::int64_t Total;
    bool InPlace;
    TClock::time_point Start = TClock::now();
    TClock::time_point LastShown{};
    bool AnythingShown = false;
};
