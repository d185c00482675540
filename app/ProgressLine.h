#pragma once
// A one-line progress bar for work done in counted pieces on the command line: redrawn in place
// on a terminal, and written as plain lines, at most about one a second, anywhere else (a log
// file or a pipe should not fill with carriage returns).

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

// "frame 12 of 240 [###.................]   8.3 frames/s, 0:27 left"; the rate and the time
// left once there is a rate to tell. The pieces are frames unless named otherwise.
std::string ProgressText(std::int64_t done, std::int64_t total, double elapsedSeconds,
                         const std::string& piece = "frame");

class TProgressLine {
public:
    TProgressLine(std::FILE* out, std::int64_t total);
    TProgressLine(std::FILE* out, std::int64_t total, bool inPlace);

    // What the pieces are called, "frame" unless told.
    void NamePieces(std::string piece) { Piece = std::move(piece); }
    // done pieces of the total are finished.
    void Show(std::int64_t done);
    // Ends the line on a terminal.
    void Finish();

private:
    using TClock = std::chrono::steady_clock;

    std::FILE* Out;
    std::int64_t Total;
    bool InPlace;
    std::string Piece = "frame";
    TClock::time_point Start = TClock::now();
    TClock::time_point LastShown{};
    bool AnythingShown = false;
};
