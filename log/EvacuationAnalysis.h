#pragma once
// What an evacuation comes to, taken from the move lists in one pass instead of replaying it:
// how many persons have left, and how many are on each deck, at every whole second (the
// evacuation curve), and how long persons stood still on each cell (the congestion map).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TLogFile;

// The replay times, in milliseconds with the file's offset, of the first steps at which everybody,
// half and nine tenths of the persons have left: to the time step, where the curve counts whole
// seconds. A person leaves one step after its last entry; one the header announces and the file
// never describes, at the first step.
struct TLeavingTimes {
    std::int64_t AllMs = 0;
    std::int64_t HalfMs = 0;
    std::int64_t NineTenthsMs = 0;
};

// None when the project has no persons.
std::optional<TLeavingTimes> LeavingTimesOf(const TLogFile& project);

struct TEvacuationCurve {
    // Row s is whole second s of the replay, time step s x VMax, from 0 to the first whole
    // second at which everybody has left; its time, as the status bar shows it after the first
    // step, is s + TimeOffset.
    std::int32_t TimeOffset = 0;
    std::int32_t PersonCount = 0;
    std::vector<std::int32_t> Saved;
    std::vector<std::vector<std::int32_t>> OnDeck; // [deck][row]
    std::vector<std::string> DeckCaptions;
    // None without persons.
    std::optional<TLeavingTimes> Leaving;

    std::int32_t RowCount() const { return static_cast<std::int32_t>(Saved.size()); }
    // One line per row: time, saved, then the persons on each deck; a header line first.
    std::string Csv() const;
};

struct TCongestionMap {
    // The share of the cells where someone stood that lie below the top of the map's scale.
    static constexpr double ScaleShare = 0.99;

    std::int32_t Width = 0;  // cells, XMax
    std::int32_t Height = 0; // cells, YMax
    // Per deck, row-major as the deck's cells: the person-seconds of standing on each cell (time
    // steps of direction 0 of every person there, over VMax); no values for a deck where nobody
    // stood.
    std::vector<std::vector<float>> StandingSeconds;
    // One scale for all decks: its top is the value that ScaleShare of the cells where someone
    // stood do not exceed (the nearest rank), so that a few hot cells do not pale all the others;
    // cells above it take the top colour. Highest is the largest value of any cell.
    float ScaleTop = 0.0f;
    float Highest = 0.0f;

    float MostSeconds(std::int32_t deck) const;
};

struct TEvacuationAnalysis {
    TEvacuationCurve Curve;
    TCongestionMap Map;
};

// Why the analysis of the project is not made, or none: a replay so long that its curve would
// not fit in memory (a few bytes in a file can ask for years of time steps).
std::optional<std::string> AnalysisRefusal(const TLogFile& project);

// Reads every move list once, split over the processors. The project is only read; it must not
// be refused above.
TEvacuationAnalysis AnalyseEvacuation(const TLogFile& project);
