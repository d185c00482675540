// Feeds arbitrary bytes to the log reader, then plays the loaded project forwards and back again,
// jumps in it and analyses it: nothing may read or write out of bounds, stepping back must undo
// stepping forward, and a jump must land where stepping does and where each person's way says.
// The bytes are read twice, once with the second half of the moves read ahead on a second
// thread: both must give the same project and the same faults.

#include "BoxReports.h"
#include "Congestion.h"
#include "EvacuationAnalysis.h"
#include "Flows.h"
#include "LogFile.h"
#include "PersonWay.h"
#include "RecordingUiServices.h"
#include "Trails.h"
#include "Waiting.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

class TNullTextView final : public IRichTextView {
public:
    void Clear() override {}
    void AddLine(const std::string&) override {}
    void SetBold(bool) override {}
};

// Every fault with its place.
class TFaultLog final : public IModelReports {
public:
    void Report(const TModelFault& fault) override {
        Faults.push_back(std::to_string(fault.Line) + ":" + std::to_string(fault.Column) + ":" +
                         fault.Text);
    }
    std::vector<std::string> Faults;
};

// What a load gave: the faults, the header, and each person's start and runs of moves.
std::vector<std::string> Outcome(const TLogFile& project, const TFaultLog& log) {
    std::vector<std::string> lines = log.Faults;
    lines.push_back(std::to_string(project.PMax) + " " + std::to_string(project.XMax) + " " +
                    std::to_string(project.YMax) + " " + std::to_string(project.ZMax));
    for (const TPersonData& person : project.Persons) {
        std::string line = std::to_string(person.StartX) + " " + std::to_string(person.StartY) +
                           " " + std::to_string(person.StartLevel) + " " +
                           std::to_string(person.MoveCount) + ":";
        person.Moves.ForEachRun([&line](std::int32_t n, TMove move) {
            line += " " + std::to_string(n) + "x" + std::to_string(move.Direction) + "/" +
                    std::to_string(move.LevelChange);
        });
        lines.push_back(line);
    }
    return lines;
}

struct TPlace {
    std::int64_t X, Y;
    std::int32_t Level;
    bool operator==(const TPlace&) const = default;
};

TPlace PlaceOf(const TPersonData& person) {
    return {person.CellX, person.CellY, person.Level};
}

void CheckStepBackUndoesStepForward(TLogFile& project) {
    constexpr std::int32_t Steps = 40;
    std::vector<TPlace> start;
    for (const TPersonData& person : project.Persons) {
        start.push_back(PlaceOf(person));
    }
    for (std::int32_t step = 0; step < Steps; ++step) {
        StepAllForward(project.Persons, step);
    }
    for (std::int32_t step = Steps - 1; step >= 0; --step) {
        StepAllBackward(project.Persons, step);
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (PlaceOf(project.Persons[i]) != start[i]) {
            __builtin_trap();
        }
    }
}

// A jump to a step leaves every person where stepping there from the start does.
void CheckJumpLandsWhereSteppingDoes(TLogFile& project) {
    constexpr std::int32_t Steps = 25;
    for (TPersonData& person : project.Persons) {
        person.Reset(project.XMax, project.YMax);
    }
    for (std::int32_t step = 0; step < Steps; ++step) {
        StepAllForward(project.Persons, step);
    }
    std::vector<TPlace> stepped;
    for (const TPersonData& person : project.Persons) {
        stepped.push_back(PlaceOf(person));
    }
    JumpAllTo(project.Persons, Steps, project.XMax, project.YMax);
    for (std::size_t i = 0; i < stepped.size(); ++i) {
        if (PlaceOf(project.Persons[i]) != stepped[i]) {
            __builtin_trap();
        }
    }
}

// How long each person has stood still at a step is what its first entries, counted one by one,
// say: the standing entries in a row that end with the step's last one. Trails are read back at
// the same steps, for the sanitizers to watch.
void CheckWaitingAgreesWithTheEntries(TLogFile& project) {
    constexpr std::int32_t Steps = 25;
    std::vector<std::vector<std::int32_t>> directions;
    for (const TPersonData& person : project.Persons) {
        std::vector<std::int32_t>& first = directions.emplace_back();
        person.Moves.ForEachRun([&first](std::int32_t n, TMove move) {
            for (std::int32_t i = 0; i < n && first.size() < Steps; ++i) {
                first.push_back(move.Direction);
            }
        });
    }
    std::vector<float> seconds;
    std::vector<std::vector<TTrailPoint>> trails;
    for (std::int32_t step = Steps; step >= 0; --step) { // backwards: the cursors walk back
        MeasureTrails(project.Persons, step, 2, 4.0f, project.ZMax, trails);
        MeasureWaiting(project.Persons, step, 1, seconds);
        for (std::size_t i = 0; i < seconds.size(); ++i) {
            std::int32_t standing = 0;
            if (step <= project.Persons[i].Moves.Count()) {
                for (std::int32_t k = step - 1;
                     k >= 0 && directions[i][static_cast<std::size_t>(k)] == 0; --k) {
                    ++standing;
                }
            }
            if (seconds[i] != static_cast<float>(standing)) {
                __builtin_trap();
            }
        }
    }
}

// Each point of a person's way, the first few and the last, is where a jump to its step puts the
// person; its facts are read for the sanitizers to watch.
void CheckWayLandsWhereTheJumpDoes(TLogFile& project) {
    constexpr std::size_t PointsChecked = 8;
    for (std::size_t i = 0; i < project.Persons.size(); ++i) {
        TPersonData& person = project.Persons[i];
        const std::vector<TWayPoint> way = WayOf(person, project.XMax, project.YMax);
        for (std::size_t k = 0; k < way.size(); ++k) {
            if (k >= PointsChecked && k + 1 != way.size()) {
                continue;
            }
            const TWayPoint& point = way[k];
            if (!person.IsJumpedTo(point.Step, project.XMax, project.YMax) ||
                PlaceOf(person) != TPlace{point.CellX, point.CellY, point.Level}) {
                __builtin_trap();
            }
        }
        FactsOf(project.Persons, i, 25);
    }
}

// The map kept up to a step, jumped to the last row and back: the whole map there, nothing stood
// at step 0.
void CheckMapUpToNowEndsAtTheWholeMap(const TLogFile& project,
                                      const TEvacuationAnalysis& analysis) {
    if (project.VMax <= 0) {
        return;
    }
    const std::int32_t lastRow = analysis.Curve.RowCount() - 1;
    const std::int64_t lastStep = std::int64_t{lastRow} * project.VMax;
    if (lastStep > std::numeric_limits<std::int32_t>::max()) {
        return;
    }
    TCongestionMapNow now(analysis.Map);
    now.MoveTo(static_cast<std::int32_t>(lastStep), lastRow);
    if (now.Map().StandingSeconds != analysis.Map.StandingSeconds) {
        __builtin_trap();
    }
    now.MoveTo(0, 0);
    for (const std::vector<float>& deck : now.Map().StandingSeconds) {
        if (std::any_of(deck.begin(), deck.end(), [](float seconds) { return seconds != 0.0f; })) {
            __builtin_trap();
        }
    }
}

// Small projects only, so that the fuzzer keeps its pace.
void AnalyseWhenSmall(const TLogFile& project) {
    const std::int64_t cells = std::int64_t{std::max(project.XMax, 0)} * std::max(project.YMax, 0) *
                               static_cast<std::int64_t>(project.Decks.size());
    std::int64_t longest = 0;
    for (const TPersonData& person : project.Persons) {
        longest = std::max<std::int64_t>(longest, person.MoveCount);
    }
    if (cells <= 65536 && longest <= 65536 && !AnalysisRefusal(project)) {
        const TEvacuationAnalysis analysis = AnalyseEvacuation(project, TStandingChanges::Kept);
        AnalyseFlows(project, {});
        if (!CongestionRefusal(project)) {
            AnalyseCongestion(project, {});
        }
        // With time passing, everybody the header announces has left at the last row.
        if (project.VMax > 0 && analysis.Curve.Saved.back() != std::max(project.PMax, 0)) {
            __builtin_trap();
        }
        CheckMapUpToNowEndsAtTheWholeMap(project, analysis);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingUiServices ui;
    TScopedUiServices installed(ui);
    TNoProgressWindow progress;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Small enough that a header asking for a huge model is refused quickly.
    constexpr std::uint64_t MemoryLimit = std::uint64_t{4} << 20;
    TFaultLog alone;
    TLogFile readAlone("Level");
    readAlone.ReportTo(alone);
    readAlone.MemoryLimit = MemoryLimit;
    readAlone.ReadAheadFrom = -1;
    readAlone.LoadFromMemory("fuzz", bytes, progress);
    TFaultLog ahead;
    TLogFile project("Level");
    project.ReportTo(ahead);
    project.MemoryLimit = MemoryLimit;
    project.ReadAheadFrom = 0;
    project.LoadFromMemory("fuzz", bytes, progress);
    if (Outcome(project, ahead) != Outcome(readAlone, alone)) {
        __builtin_trap();
    }
    TBoxReports reports;
    project.ReportTo(reports);
    TNullTextView view;
    project.FillStatistics(view);
    CheckStepBackUndoesStepForward(project);
    CheckJumpLandsWhereSteppingDoes(project);
    CheckWaitingAgreesWithTheEntries(project);
    CheckWayLandsWhereTheJumpDoes(project);
    AnalyseWhenSmall(project);
    return 0;
}
