#include "ProgressLine.h"

#include "Replay.h"

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace {

constexpr int BarWidth = 20;

// How often the line may change: a terminal redraws smoothly, a log gets a line a second.
constexpr std::chrono::milliseconds TerminalInterval{100};
constexpr std::chrono::milliseconds PlainInterval{1000};

// "m:ss", whole seconds rounded up.
std::string TimeLeftText(double seconds) {
    const double whole = std::ceil(std::clamp(seconds, 0.0, double(INT32_MAX)));
    return ClockText(static_cast<std::int32_t>(whole));
}

} // namespace

std::string ProgressText(std::int64_t done, std::int64_t total, double elapsedSeconds,
                         const std::string& piece) {
    const double fraction = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 1.0;
    const auto filled = static_cast<int>(fraction * BarWidth);
    std::string text = piece + " " + std::to_string(done) + " of " + std::to_string(total) + " [";
    text.append(static_cast<std::size_t>(filled), '#');
    text.append(static_cast<std::size_t>(BarWidth - filled), '.');
    text += ']';
    if (done > 0 && elapsedSeconds > 0) {
        const double rate = double(done) / elapsedSeconds;
        char figures[96];
        std::snprintf(figures, sizeof figures, " %6.1f %ss/s, %s left", rate, piece.c_str(),
                      TimeLeftText(double(total - done) / rate).c_str());
        text += figures;
    }
    return text;
}

TProgressLine::TProgressLine(std::FILE* out, std::int64_t total)
    : TProgressLine(out, total, isatty(fileno(out)) != 0) {}

TProgressLine::TProgressLine(std::FILE* out, std::int64_t total, bool inPlace)
    : Out(out), Total(total), InPlace(inPlace) {}

void TProgressLine::Show(std::int64_t done) {
    const TClock::time_point now = TClock::now();
    const auto interval = InPlace ? TerminalInterval : PlainInterval;
    if (AnythingShown && done < Total && now - LastShown < interval) {
        return;
    }
    const double elapsed = std::chrono::duration<double>(now - Start).count();
    const std::string text = ProgressText(done, Total, elapsed, Piece);
    // On a terminal the line is overwritten, and cleared to its end in case it got shorter.
    std::fprintf(Out, InPlace ? "\r%s\033[K" : "%s\n", text.c_str());
    std::fflush(Out);
    LastShown = now;
    AnythingShown = true;
}

void TProgressLine::Finish() {
    if (InPlace && AnythingShown) {
        std::fputc('\n', Out);
        std::fflush(Out);
    }
}
