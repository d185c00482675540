#pragma once
// What an evacuation comes to, taken from the move lists in one pass instead of replaying it:
// how many persons have left, and how many are on each deck, at every whole second (the
// evacuation curve), and how long persons stood still on each cell (the congestion map), in the
// whole replay and, kept as the replay moves, up to its current step.

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

// A person beginning (By +1) or ending (By -1) a stand on a cell at a step; the cell numbered
// over all decks, deck x Width x Height + row-major cell.
struct TStandingChange {
    std::int32_t Step;
    std::int32_t By;
    std::int64_t Cell;
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
    std::int32_t StepsPerSecond = 1;
    // Every stand as its beginning and its end, in the order of the steps: an entry of direction
    // 0 at step k (taking the person from step k to k + 1) stands on its cell during that step.
    // Kept only when asked for (TStandingChanges::Kept): on a large log they take many times the
    // memory of the project, and only the map up to a moment needs them.
    std::vector<TStandingChange> Changes;
    bool ChangesKept = false;
    // A map up to a moment of the replay (see TCongestionMapNow) has the whole replay's map,
    // whose scale it keeps, and the replay time it is up to; the whole replay's map has none.
    const TCongestionMap* Whole = nullptr;
    std::int32_t UpToSeconds = 0;

    float MostSeconds(std::int32_t deck) const;
};

// The congestion map up to a step of the replay: on each cell, the steps stood there before the
// step, from the changes of the whole map: moving forward adds the stands begun, back takes them
// away, so that a step costs the stands that begin or end near it, not a pass over the move
// lists. Each cell is kept as a count at step 0 and the persons standing on it now, so that the
// standing of many steps is added at once. At step 0 the map is empty; from the step everybody
// has left on, it is the whole map.
class TCongestionMapNow {
public:
    // The whole map must outlive it and have kept its changes (std::invalid_argument otherwise).
    explicit TCongestionMapNow(const TCongestionMap& whole);

    // Up to the step, at that replay time (for the legend).
    void MoveTo(std::int32_t step, std::int32_t timeSeconds);
    std::int32_t Step() const { return AtStep; }
    const TCongestionMap& Map() const { return Now; }

private:
    void Apply(const TStandingChange& change, std::int32_t sign);
    void Show(std::int64_t cell);

    const TCongestionMap& Whole;
    TCongestionMap Now;
    std::int64_t CellsPerDeck = 0;
    // By cell over all decks where someone stood: the count at step 0 were the persons standing
    // now standing all along (so that count + standing x step is the count at a step), the
    // persons standing now, and where a cell with persons standing lies in Standing (-1: none).
    std::vector<std::vector<std::int64_t>> Base;
    std::vector<std::vector<std::int32_t>> Rate;
    std::vector<std::vector<std::int32_t>> Place;
    std::vector<std::int64_t> Standing; // cells with persons standing
    std::vector<std::int64_t> Touched;  // cells whose stands began or ended in a move
    std::size_t Applied = 0;            // the changes at steps up to AtStep
    std::int32_t AtStep = 0;
};

struct TEvacuationAnalysis {
    TEvacuationCurve Curve;
    TCongestionMap Map;
};

// Why the analysis of the project is not made, or none: a replay so long that its curve would
// not fit in memory (a few bytes in a file can ask for years of time steps).
std::optional<std::string> AnalysisRefusal(const TLogFile& project);

// Whether the analysis keeps the map's stands in step order, for a map up to a moment.
enum class TStandingChanges : bool { Left, Kept };

// Reads every move list once, split over the processors. The project is only read; it must not
// be refused above.
TEvacuationAnalysis AnalyseEvacuation(const TLogFile& project,
                                      TStandingChanges changes = TStandingChanges::Left);
