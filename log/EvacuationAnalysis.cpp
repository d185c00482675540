#include "EvacuationAnalysis.h"

#include "LogFile.h"
#include "PersonData.h"
#include "Replay.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <thread>

namespace {

// Person-steps on one cell can pass what 32 bits hold only in a malformed file: they stop there.
std::uint32_t SaturatingSum(std::uint32_t a, std::uint32_t b) {
    const std::uint64_t sum = std::uint64_t{a} + b;
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(sum, std::numeric_limits<std::uint32_t>::max()));
}

// What one part of the population adds up to: difference arrays over the rows (a person counts
// from the row it appears in to the row before it disappears) and steps stood per cell.
struct TTally {
    std::vector<std::int32_t> SavedChange;
    std::vector<std::vector<std::int32_t>> OnDeckChange; // [deck][row]
    // [deck][cell]; empty for a deck where nobody stood, so that memory follows the moves rather
    // than the grid the header announces.
    std::vector<std::vector<std::uint32_t>> StandingSteps;
    // Every stand's beginning and end, in the order of the steps.
    std::vector<TStandingChange> Changes;
};

class TTallier {
public:
    TTallier(const TLogFile& project, std::int32_t rows, TStandingChanges changes)
        : Project(project), Rows(rows), KeepChanges(changes == TStandingChanges::Kept),
          VMax(project.VMax), Decks(static_cast<std::int32_t>(project.Decks.size())),
          Cells(static_cast<std::size_t>(std::max(project.XMax, 0)) *
                static_cast<std::size_t>(std::max(project.YMax, 0))) {
        Tally.SavedChange.assign(static_cast<std::size_t>(rows) + 1, 0);
        Tally.OnDeckChange.assign(static_cast<std::size_t>(Decks),
                                  std::vector<std::int32_t>(static_cast<std::size_t>(rows) + 1));
        Tally.StandingSteps.resize(static_cast<std::size_t>(Decks));
    }

    void Add(const TPersonData& person) {
        const std::int64_t leaves = std::int64_t{person.MoveCount} + 1;
        AddChange(Tally.SavedChange, FirstRowAtOrAfter(leaves), 1);
        std::int64_t step = 0;
        std::int64_t from = 0; // the first step of the current level
        std::int64_t x = person.StartX;
        std::int64_t y = person.StartY;
        std::int32_t level = person.StartLevel;
        person.Moves.ForEachRun([&](std::int32_t count, TMove move) {
            if (move.LevelChange == 0) {
                Walk(step, count, move.Direction, x, y, level);
                step += count;
                return;
            }
            // Each entry changes the deck: the new one counts from the step after it.
            for (std::int32_t i = 0; i < count; ++i) {
                Walk(step, 1, move.Direction, x, y, level);
                OnLevel(level, from, step);
                level = AddLevels(level, move.LevelChange);
                from = ++step;
            }
        });
        OnLevel(level, from, person.MoveCount);
    }

    // Persons the file announces but never describes leave at the first step.
    void AddUndescribed(std::int32_t count) {
        AddChange(Tally.SavedChange, FirstRowAtOrAfter(1), count);
    }

    TTally Take() {
        std::ranges::sort(Tally.Changes, {}, &TStandingChange::Step);
        return std::move(Tally);
    }

private:
    // Steps stood still are counted on the cell the person stands on; a move shifts the cell.
    void Walk(std::int64_t step, std::int32_t count, std::int32_t direction, std::int64_t& x,
              std::int64_t& y, std::int32_t level) {
        const TDirectionStep* offset = StepOfDirection(direction);
        if (offset == nullptr) {
            return;
        }
        if (direction == 0) {
            AddStanding(x, y, level, step, count);
        }
        x += std::int64_t{offset->Dx} * count;
        y -= std::int64_t{offset->Dy} * count;
    }

    void AddStanding(std::int64_t x, std::int64_t y, std::int32_t level, std::int64_t step,
                     std::int32_t count) {
        if (level < 0 || level >= Decks || x < 0 || y < 0 || x >= Project.XMax ||
            y >= Project.YMax) {
            return;
        }
        std::vector<std::uint32_t>& deck = Tally.StandingSteps[static_cast<std::size_t>(level)];
        if (deck.empty()) {
            deck.assign(Cells, 0);
        }
        const std::int64_t cell = y * Project.XMax + x;
        std::uint32_t& steps = deck[static_cast<std::size_t>(cell)];
        steps = SaturatingSum(steps, static_cast<std::uint32_t>(count));
        // A list no longer than a step number can be begins and ends its stands at such steps.
        if (!KeepChanges) {
            return;
        }
        const std::int64_t everyCell =
            std::int64_t{level} * static_cast<std::int64_t>(Cells) + cell;
        Tally.Changes.push_back({static_cast<std::int32_t>(step), +1, everyCell});
        Tally.Changes.push_back({static_cast<std::int32_t>(step + count), -1, everyCell});
    }

    // The person is on the level from step first to step last, both included.
    void OnLevel(std::int32_t level, std::int64_t first, std::int64_t last) {
        if (level < 0 || level >= Decks) {
            return;
        }
        auto& change = Tally.OnDeckChange[static_cast<std::size_t>(level)];
        const std::int32_t begin = FirstRowAtOrAfter(first);
        const std::int32_t end = FirstRowAtOrAfter(last + 1);
        if (begin < end) {
            AddChange(change, begin, 1);
            AddChange(change, end, -1);
        }
    }

    // The first row whose step is step or later; Rows when there is none. Without time steps
    // per second there is only row 0, at step 0.
    std::int32_t FirstRowAtOrAfter(std::int64_t step) const {
        if (VMax <= 0) {
            return step <= 0 ? 0 : Rows;
        }
        const std::int64_t row = step <= 0 ? 0 : (step + VMax - 1) / VMax;
        return static_cast<std::int32_t>(std::min<std::int64_t>(row, Rows));
    }

    static void AddChange(std::vector<std::int32_t>& change, std::int32_t row, std::int32_t by) {
        change[static_cast<std::size_t>(row)] += by;
    }

    const TLogFile& Project;
    std::int32_t Rows;
    bool KeepChanges;
    std::int32_t VMax;
    std::int32_t Decks;
    std::size_t Cells; // of each deck
    TTally Tally;
};

// The first part also counts the persons the file never describes.
TTally TallyPersons(const TLogFile& project, std::int32_t rows, TStandingChanges changes,
                    std::size_t first, std::size_t last, bool firstPart) {
    TTallier tallier(project, rows, changes);
    if (firstPart) {
        tallier.AddUndescribed(project.UndescribedPersons());
    }
    for (std::size_t i = first; i < last; ++i) {
        tallier.Add(project.Persons[i]);
    }
    return tallier.Take();
}

void AddStandingInto(std::vector<std::uint32_t>& total, const std::vector<std::uint32_t>& part) {
    if (part.empty()) {
        return;
    }
    if (total.empty()) {
        total = part;
        return;
    }
    std::transform(total.begin(), total.end(), part.begin(), total.begin(), SaturatingSum);
}

// Adds the tally of one part of the population into the total.
void AddInto(TTally& total, TTally& part) {
    std::vector<TStandingChange> changes;
    changes.reserve(total.Changes.size() + part.Changes.size());
    std::ranges::merge(total.Changes, part.Changes, std::back_inserter(changes), {},
                       &TStandingChange::Step, &TStandingChange::Step);
    total.Changes = std::move(changes);
    part.Changes = {};
    std::transform(total.SavedChange.begin(), total.SavedChange.end(), part.SavedChange.begin(),
                   total.SavedChange.begin(), std::plus<>());
    for (std::size_t d = 0; d < total.OnDeckChange.size(); ++d) {
        std::transform(total.OnDeckChange[d].begin(), total.OnDeckChange[d].end(),
                       part.OnDeckChange[d].begin(), total.OnDeckChange[d].begin(), std::plus<>());
        AddStandingInto(total.StandingSteps[d], part.StandingSteps[d]);
    }
}

// The running sum of a difference array, one value per row.
std::vector<std::int32_t> RunningSum(const std::vector<std::int32_t>& change, std::int32_t rows) {
    std::vector<std::int32_t> values(static_cast<std::size_t>(rows));
    std::int32_t sum = 0;
    for (std::size_t row = 0; row < values.size(); ++row) {
        sum += change[row];
        values[row] = sum;
    }
    return values;
}

TEvacuationCurve CurveOf(const TLogFile& project, const TTally& tally, std::int32_t rows) {
    TEvacuationCurve curve;
    curve.TimeOffset = project.TOff;
    curve.PersonCount =
        static_cast<std::int32_t>(project.Persons.size()) + project.UndescribedPersons();
    curve.Saved = RunningSum(tally.SavedChange, rows);
    for (std::size_t d = 0; d < tally.OnDeckChange.size(); ++d) {
        curve.OnDeck.push_back(RunningSum(tally.OnDeckChange[d], rows));
        curve.DeckCaptions.push_back(project.Decks[d].Caption);
    }
    curve.Leaving = LeavingTimesOf(project);
    return curve;
}

// The nearest-rank value below which the scale's share of the cells where someone stood lie.
void PlaceScale(TCongestionMap& map) {
    std::vector<float> stood;
    for (const std::vector<float>& deck : map.StandingSeconds) {
        std::copy_if(deck.begin(), deck.end(), std::back_inserter(stood),
                     [](float seconds) { return seconds > 0.0f; });
    }
    if (stood.empty()) {
        return;
    }
    const auto rank = static_cast<std::size_t>(
        std::ceil(TCongestionMap::ScaleShare * static_cast<double>(stood.size())));
    const auto top =
        stood.begin() + static_cast<std::ptrdiff_t>(std::max<std::size_t>(rank, 1) - 1);
    std::nth_element(stood.begin(), top, stood.end());
    map.ScaleTop = *top;
    map.Highest = *std::max_element(top, stood.end());
}

TCongestionMap MapOf(const TLogFile& project, TTally& tally) {
    TCongestionMap map;
    map.StepsPerSecond = std::max(project.VMax, 1);
    map.Changes = std::move(tally.Changes);
    map.Width = std::max(project.XMax, 0);
    map.Height = std::max(project.YMax, 0);
    const float stepsPerSecond = project.VMax > 0 ? static_cast<float>(project.VMax) : 1.0f;
    for (const auto& steps : tally.StandingSteps) {
        std::vector<float>& seconds = map.StandingSeconds.emplace_back(steps.size());
        std::transform(steps.begin(), steps.end(), seconds.begin(),
                       [&](std::uint32_t n) { return static_cast<float>(n) / stepsPerSecond; });
    }
    PlaceScale(map);
    return map;
}

// The whole seconds of the replay up to the first at which everybody has left, and 1.
std::int64_t RowCountOf(const TLogFile& project) {
    std::int64_t last = 0;
    for (const TPersonData& person : project.Persons) {
        last = std::max(last, std::int64_t{person.MoveCount} + 1);
    }
    const bool undescribed = project.UndescribedPersons() > 0;
    if (undescribed) {
        last = std::max<std::int64_t>(last, 1);
    }
    if (project.VMax <= 0 || (project.Persons.empty() && !undescribed)) {
        return 1;
    }
    return (last + project.VMax - 1) / project.VMax + 1;
}

// The steps at which the persons leave: one past the last entry of each list, the first step
// for those the header announces and the file never describes, who come first. Those are only
// counted: a header may announce a hundred million of them.
class TLeaveSteps {
public:
    explicit TLeaveSteps(const TLogFile& project)
        : Undescribed(std::max<std::int64_t>(project.UndescribedPersons(), 0)) {
        Described.reserve(project.Persons.size());
        for (const TPersonData& person : project.Persons) {
            Described.push_back(std::int64_t{person.MoveCount} + 1);
        }
    }

    std::int64_t Count() const { return Undescribed + std::ssize(Described); }

    // The first step at which at least that share of the persons have left; some must. Only the
    // step of that rank is put in its place, not all of them: the curve is made for every load.
    std::int64_t WhenLeft(std::int64_t percent) {
        const std::int64_t rank = std::max<std::int64_t>((Count() * percent + 99) / 100, 1);
        if (rank <= Undescribed) {
            return 1;
        }
        const auto nth = Described.begin() + (rank - Undescribed - 1);
        std::ranges::nth_element(Described, nth);
        return *nth;
    }

private:
    std::int64_t Undescribed;
    std::vector<std::int64_t> Described;
};

// Values the curve may hold per part of the population: 64 MB of them; cells of all decks the
// map may count, 512 MB per part.
constexpr std::int64_t MostCurveValues = std::int64_t{1} << 24;
constexpr std::int64_t MostMapCells = std::int64_t{1} << 27;

} // namespace

std::optional<std::string> AnalysisRefusal(const TLogFile& project) {
    const std::int64_t rows = RowCountOf(project);
    const auto decks = static_cast<std::int64_t>(project.Decks.size());
    if (rows * (decks + 1) > MostCurveValues) {
        return "The evacuation curve of this file would span " + std::to_string(rows - 1) +
               " seconds; it can be made for at most " +
               std::to_string(MostCurveValues / (decks + 1) - 1) + ".";
    }
    const std::int64_t cells =
        std::int64_t{std::max(project.XMax, 0)} * std::max(project.YMax, 0) * decks;
    if (cells > MostMapCells) {
        return "The congestion map of this file would have " + std::to_string(cells) +
               " cells; it can be made for at most " + std::to_string(MostMapCells) + ".";
    }
    return std::nullopt;
}

std::optional<TLeavingTimes> LeavingTimesOf(const TLogFile& project) {
    TLeaveSteps leaving(project);
    if (leaving.Count() == 0) {
        return std::nullopt;
    }
    const auto at = [&](std::int64_t percent) {
        return ReplayMilliseconds(leaving.WhenLeft(percent), project.VMax, project.TOff);
    };
    return TLeavingTimes{at(100), at(50), at(90)};
}

std::string TEvacuationCurve::Csv() const {
    // A caption holding a comma, a quote or a line break is quoted, its quotes doubled.
    const auto field = [](const std::string& text) {
        if (text.find_first_of(",\"\r\n") == std::string::npos) {
            return text;
        }
        std::string quoted = "\"";
        for (const char c : text) {
            quoted += c;
            if (c == '"') {
                quoted += '"';
            }
        }
        return quoted + "\"";
    };
    std::string csv = "time,saved";
    for (const std::string& caption : DeckCaptions) {
        csv += ',';
        csv += field(caption);
    }
    csv += '\n';
    for (std::size_t row = 0; row < Saved.size(); ++row) {
        csv += std::to_string(std::int64_t{TimeOffset} + static_cast<std::int64_t>(row));
        csv += ',';
        csv += std::to_string(Saved[row]);
        for (const auto& onDeck : OnDeck) {
            csv += ',';
            csv += std::to_string(onDeck[row]);
        }
        csv += '\n';
    }
    return csv;
}

float TCongestionMap::MostSeconds(std::int32_t deck) const {
    if (deck < 0 || static_cast<std::size_t>(deck) >= StandingSeconds.size() ||
        StandingSeconds[static_cast<std::size_t>(deck)].empty()) {
        return 0.0f;
    }
    const auto& seconds = StandingSeconds[static_cast<std::size_t>(deck)];
    return *std::max_element(seconds.begin(), seconds.end());
}

TEvacuationAnalysis AnalyseEvacuation(const TLogFile& project, TStandingChanges changes) {
    const auto rows = static_cast<std::int32_t>(RowCountOf(project)); // not refused: it fits
    const std::size_t persons = project.Persons.size();
    const std::size_t parts = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::future<TTally>> running;
    for (std::size_t p = 0; p < parts; ++p) {
        const std::size_t first = persons * p / parts;
        const std::size_t last = persons * (p + 1) / parts;
        running.push_back(std::async(std::launch::async, TallyPersons, std::cref(project), rows,
                                     changes, first, last, p == 0));
    }
    TTally total = running.front().get();
    for (std::size_t p = 1; p < running.size(); ++p) {
        TTally part = running[p].get();
        AddInto(total, part);
    }
    TEvacuationAnalysis analysis{CurveOf(project, total, rows), MapOf(project, total)};
    analysis.Map.ChangesKept = changes == TStandingChanges::Kept;
    return analysis;
}

TCongestionMapNow::TCongestionMapNow(const TCongestionMap& whole)
    : Whole(whole), CellsPerDeck(std::int64_t{whole.Width} * whole.Height) {
    if (!whole.ChangesKept) {
        throw std::invalid_argument("the map up to a moment needs the stands in step order");
    }
    Now.Width = whole.Width;
    Now.Height = whole.Height;
    Now.ScaleTop = whole.ScaleTop;
    Now.Highest = whole.Highest;
    Now.StepsPerSecond = whole.StepsPerSecond;
    Now.Whole = &whole;
    for (const std::vector<float>& deck : whole.StandingSeconds) {
        Now.StandingSeconds.emplace_back(deck.size(), 0.0f);
        Base.emplace_back(deck.size(), 0);
        Rate.emplace_back(deck.size(), 0);
        Place.emplace_back(deck.size(), -1);
    }
}

void TCongestionMapNow::MoveTo(std::int32_t step, std::int32_t timeSeconds) {
    const std::vector<TStandingChange>& changes = Whole.Changes;
    while (Applied < changes.size() && changes[Applied].Step <= step) {
        Apply(changes[Applied++], +1);
    }
    while (Applied > 0 && changes[Applied - 1].Step > step) {
        Apply(changes[--Applied], -1);
    }
    AtStep = step;
    Now.UpToSeconds = timeSeconds;
    for (const std::int64_t cell : Touched) {
        Show(cell);
    }
    Touched.clear();
    for (const std::int64_t cell : Standing) {
        Show(cell);
    }
}

// A stand beginning at step t adds step - t from t on; its end at t takes it back.
void TCongestionMapNow::Apply(const TStandingChange& change, std::int32_t sign) {
    const auto deck = static_cast<std::size_t>(change.Cell / CellsPerDeck);
    const auto cell = static_cast<std::size_t>(change.Cell % CellsPerDeck);
    const std::int32_t by = change.By * sign;
    Base[deck][cell] -= std::int64_t{by} * change.Step;
    std::int32_t& rate = Rate[deck][cell];
    std::int32_t& place = Place[deck][cell];
    rate += by;
    if (rate != 0 && place < 0) {
        place = static_cast<std::int32_t>(Standing.size());
        Standing.push_back(change.Cell);
    } else if (rate == 0 && place >= 0) {
        // The last cell of the list takes its place.
        const std::int64_t last = Standing.back();
        Place[static_cast<std::size_t>(last / CellsPerDeck)]
             [static_cast<std::size_t>(last % CellsPerDeck)] = place;
        Standing[static_cast<std::size_t>(place)] = last;
        Standing.pop_back();
        place = -1;
        Touched.push_back(change.Cell);
    }
}

void TCongestionMapNow::Show(std::int64_t cell) {
    const auto deck = static_cast<std::size_t>(cell / CellsPerDeck);
    const auto at = static_cast<std::size_t>(cell % CellsPerDeck);
    const std::int64_t steps = Base[deck][at] + std::int64_t{Rate[deck][at]} * AtStep;
    Now.StandingSeconds[deck][at] =
        static_cast<float>(steps) / static_cast<float>(Now.StepsPerSecond);
}
