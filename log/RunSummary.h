#pragma once
// Many runs of one scenario, as an evacuation analysis reports them: for each log the persons,
// the time at which everybody has left (the assembly time), the times at which half and nine
// tenths have, and the significant congestion; over the runs the least, the mean, the value the
// maritime guidelines take (higher than 95 % of the runs, by their ranking rule) and the
// greatest, each with the run that gave it. A log that cannot be read, or in which the reader
// finds a fault, is listed with its first fault and left out of the figures, so that a damaged
// run never lowers them.

#include "AnalysisSettings.h"
#include "EvacuationAnalysis.h"
#include "ExactRatio.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TRunSummary {
    std::string File;
    std::int32_t Persons = 0;
    // When everybody, half and nine tenths of the persons have left.
    TLeavingTimes Left;
    std::int32_t SignificantRegions = 0;
    // Why the run is left out of the figures: its first fault, or why it could not be read;
    // empty when it counts.
    std::string Fault;
    // The evacuation curve, when asked for.
    std::optional<TEvacuationCurve> Curve;

    bool Counts() const { return Fault.empty(); }
};

// Reads the log and summarises it, its congestion measured on `cores` threads (all the machine
// has when 0); with keepCurve, its evacuation curve too.
TRunSummary SummariseRun(const std::string& file, const TAnalysisSettings& settings,
                         bool keepCurve = false, std::size_t cores = 0);

// Summarises the logs on `workers` threads at once, each reading one log at a time, so that
// memory follows the logs being read rather than all of them; the machine's cores are shared
// among them rather than each log's work spread over all. done(index, summary) is called for
// each as it is finished, one call at a time, from any of the threads; the summaries come back in
// the order of the files.
std::vector<TRunSummary>
SummariseRuns(const std::vector<std::string>& files, const TAnalysisSettings& settings,
              std::size_t workers, bool keepCurves,
              const std::function<void(std::size_t, const TRunSummary&)>& done = {});

// The rank, from 1, that the guidelines take of n values ranked from the lowest to the highest:
// the first with at least 95 % of the ranked values before it, ceil(0.95 n) + 1. Below 20 values
// no rank has that many before it, and the highest, rank n, is taken.
std::size_t NinetyFifthRank(std::size_t n);

// One figure over the runs that count, in milliseconds, and the run (an index into the list)
// that gave it: of runs of equal times, the first in the list, whichever figure it is.
struct TRunFigure {
    std::int64_t Milliseconds = 0;
    std::size_t Run = 0;
};

struct TRunsFigures {
    std::size_t Counted = 0;
    std::size_t LeftOut = 0;
    // Of the time at which everybody has left. The 95 % value is the time at its rank, runs of
    // equal times ranked in the order of the list.
    TRunFigure Least;
    TExactRatio MeanSeconds;
    TRunFigure NinetyFifth;
    std::size_t NinetyFifthRank = 0;
    TRunFigure Greatest;
    bool FewerThanTwenty() const { return Counted < 20; }
};

// None when no run counts.
std::optional<TRunsFigures> FiguresOver(const std::vector<TRunSummary>& runs);

// The runs as CSV, a header line and a row each:
// file,persons,all_left_s,p50_s,p90_s,significant_regions,fault. Fields with a comma, a quote or
// a line end are quoted, quotes doubled.
std::string RunsCsv(const std::vector<TRunSummary>& runs);
// The rows of such a CSV; empty with the reason in `problem` when the text is not one.
std::vector<TRunSummary> RunsFromCsv(const std::string& text, std::string& problem);
