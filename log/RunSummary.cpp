#include "RunSummary.h"

#include "Congestion.h"
#include "LogFile.h"
#include "ModelReports.h"
#include "Replay.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <numeric>
#include <thread>
#include <type_traits>

namespace {

// Keeps the first fault of a load, and asks for no other.
class TFirstFault final : public IModelReports {
public:
    bool Wants(TFaultKind) const override { return !Fault; }
    void Report(const TModelFault& fault) override {
        if (Fault) {
            return;
        }
        std::string text = fault.Text;
        std::replace(text.begin(), text.end(), '\n', ' ');
        Fault = fault.Line > 0 ? "line " + std::to_string(fault.Line) + ": " + text : text;
    }

    std::optional<std::string> Fault;
};

// Replay time at the step to the millisecond, as the CSV reports write it.
double SecondsAt(std::int64_t step, const TLogFile& project) {
    return static_cast<double>(ReplayMilliseconds(step, project.VMax, project.TOff)) / 1000.0;
}

// The steps at which the persons leave, from the first: one past the last entry of each list, the
// first step for those the header announces and the file never describes.
std::vector<std::int64_t> LeaveSteps(const TLogFile& project) {
    std::vector<std::int64_t> steps(
        static_cast<std::size_t>(std::max(project.UndescribedPersons(), 0)), 1);
    for (const TPersonData& person : project.Persons) {
        steps.push_back(std::int64_t{person.MoveCount} + 1);
    }
    std::ranges::sort(steps);
    return steps;
}

// The first step at which at least that share of the persons have left.
std::int64_t StepWhenLeft(const std::vector<std::int64_t>& leaveSteps, std::int64_t percent) {
    const auto count = static_cast<std::int64_t>(leaveSteps.size());
    const std::int64_t rank = std::max<std::int64_t>((count * percent + 99) / 100, 1);
    return leaveSteps[static_cast<std::size_t>(rank - 1)];
}

// Why a loaded project cannot be summarised, or none.
std::optional<std::string> SummaryRefusal(const TLogFile& project) {
    if (!project.HeaderRead) {
        return "no project header";
    }
    if (project.Persons.empty() && project.UndescribedPersons() <= 0) {
        return "no persons";
    }
    if (auto refusal = AnalysisRefusal(project)) {
        return refusal;
    }
    return CongestionRefusal(project);
}

// Quoted when it holds a comma, a quote or a line end; quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string SecondsField(double seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// The fields of one CSV line from `at`, which is left at the next line; false at the end.
bool ReadCsvLine(const std::string& text, std::size_t& at, std::vector<std::string>& fields) {
    fields.clear();
    if (at >= text.size()) {
        return false;
    }
    std::string field;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                field += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            ++at;
            break;
        } else if (c != '\r') {
            field += c;
        }
    }
    fields.push_back(std::move(field));
    return true;
}

constexpr const char* CsvHeader = "file,persons,all_left_s,p50_s,p90_s,significant_regions,fault";

template <typename T> bool ReadNumber(const std::string& text, T& value) {
    char* end = nullptr;
    if constexpr (std::is_floating_point_v<T>) {
        value = std::strtod(text.c_str(), &end);
    } else {
        const long long number = std::strtoll(text.c_str(), &end, 10);
        if (number < std::numeric_limits<T>::min() || number > std::numeric_limits<T>::max()) {
            return false;
        }
        value = static_cast<T>(number);
    }
    return !text.empty() && end == text.c_str() + text.size();
}

} // namespace

TRunSummary SummariseRun(const std::string& file, const TAnalysisSettings& settings, bool keepCurve,
                         std::size_t cores) {
    TRunSummary run;
    run.File = file;
    TFirstFault reports;
    TNoProgressWindow progress;
    TLogFile project("Level");
    project.ReportTo(reports);
    const bool loaded = project.Load(file, progress);
    if (reports.Fault || !loaded) {
        run.Fault = reports.Fault.value_or("cannot be read");
        return run;
    }
    if (const auto refusal = SummaryRefusal(project)) {
        run.Fault = *refusal;
        return run;
    }
    const std::vector<std::int64_t> leaving = LeaveSteps(project);
    run.Persons = static_cast<std::int32_t>(leaving.size());
    run.AllLeftSeconds = SecondsAt(leaving.back(), project);
    run.HalfLeftSeconds = SecondsAt(StepWhenLeft(leaving, 50), project);
    run.NineTenthsLeftSeconds = SecondsAt(StepWhenLeft(leaving, 90), project);
    run.SignificantRegions = AnalyseCongestion(project, settings, cores).SignificantCount();
    if (keepCurve) {
        run.Curve = AnalyseEvacuation(project).Curve;
    }
    return run;
}

std::vector<TRunSummary>
SummariseRuns(const std::vector<std::string>& files, const TAnalysisSettings& settings,
              std::size_t workers, bool keepCurves,
              const std::function<void(std::size_t, const TRunSummary&)>& done) {
    std::vector<TRunSummary> runs(files.size());
    const std::size_t running =
        std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(files.size(), 1));
    const std::size_t cores =
        std::max<std::size_t>(std::thread::hardware_concurrency() / running, 1);
    std::atomic<std::size_t> next = 0;
    std::mutex reporting;
    const auto work = [&] {
        for (std::size_t k = next++; k < files.size(); k = next++) {
            TRunSummary run = SummariseRun(files[k], settings, keepCurves, cores);
            const std::lock_guard lock(reporting);
            runs[k] = std::move(run);
            if (done) {
                done(k, runs[k]);
            }
        }
    };
    std::vector<std::thread> others;
    for (std::size_t w = 1; w < running; ++w) {
        others.emplace_back(work);
    }
    work();
    for (std::thread& other : others) {
        other.join();
    }
    return runs;
}

std::size_t NinetyFifthRank(std::size_t n) {
    return std::min((95 * n + 99) / 100 + 1, n);
}

std::optional<TRunsFigures> FiguresOver(const std::vector<TRunSummary>& runs) {
    std::vector<std::size_t> ranked;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        if (runs[k].Counts()) {
            ranked.push_back(k);
        }
    }
    if (ranked.empty()) {
        return std::nullopt;
    }
    std::ranges::stable_sort(ranked, {}, [&](std::size_t k) { return runs[k].AllLeftSeconds; });
    const auto figure = [&](std::size_t k) { return TRunFigure{runs[k].AllLeftSeconds, k}; };
    TRunsFigures figures;
    figures.Counted = ranked.size();
    figures.LeftOut = runs.size() - ranked.size();
    figures.Least = figure(ranked.front());
    // The first in the list among equal greatest: the first of them in the ranking.
    const double greatest = runs[ranked.back()].AllLeftSeconds;
    figures.Greatest = figure(*std::ranges::find_if(
        ranked, [&](std::size_t k) { return runs[k].AllLeftSeconds == greatest; }));
    figures.NinetyFifthRank = NinetyFifthRank(ranked.size());
    figures.NinetyFifth = figure(ranked[figures.NinetyFifthRank - 1]);
    double sum = 0.0;
    for (const std::size_t k : ranked) {
        sum += runs[k].AllLeftSeconds;
    }
    figures.Mean = sum / static_cast<double>(ranked.size());
    return figures;
}

std::string RunsCsv(const std::vector<TRunSummary>& runs) {
    std::string text = std::string(CsvHeader) + "\n";
    for (const TRunSummary& run : runs) {
        text += CsvField(run.File) + ",";
        if (run.Counts()) {
            text += std::to_string(run.Persons) + "," + SecondsField(run.AllLeftSeconds) + "," +
                    SecondsField(run.HalfLeftSeconds) + "," +
                    SecondsField(run.NineTenthsLeftSeconds) + "," +
                    std::to_string(run.SignificantRegions) + ",";
        } else {
            text += ",,,,," + CsvField(run.Fault);
        }
        text += "\n";
    }
    return text;
}

std::vector<TRunSummary> RunsFromCsv(const std::string& text, std::string& problem) {
    std::vector<TRunSummary> runs;
    std::vector<std::string> fields;
    std::size_t at = 0;
    if (!ReadCsvLine(text, at, fields) || fields.size() < 7 || fields[0] != "file" ||
        fields[6] != "fault") {
        problem = std::string("not a table of runs: the first line must be ") + CsvHeader;
        return {};
    }
    for (std::int64_t line = 2; ReadCsvLine(text, at, fields); ++line) {
        if (fields.size() == 1 && fields[0].empty()) {
            continue; // a blank line
        }
        TRunSummary run;
        const bool complete = fields.size() >= 7;
        if (complete) {
            run.File = fields[0];
            run.Fault = fields[6];
        }
        const bool read =
            complete && (!run.Fault.empty() || (ReadNumber(fields[1], run.Persons) &&
                                                ReadNumber(fields[2], run.AllLeftSeconds) &&
                                                ReadNumber(fields[3], run.HalfLeftSeconds) &&
                                                ReadNumber(fields[4], run.NineTenthsLeftSeconds) &&
                                                ReadNumber(fields[5], run.SignificantRegions)));
        if (!read) {
            problem = "line " + std::to_string(line) + ": not a row of " + CsvHeader;
            return {};
        }
        runs.push_back(std::move(run));
    }
    return runs;
}
