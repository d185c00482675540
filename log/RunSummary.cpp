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

std::string SecondsField(std::int64_t milliseconds) {
    return FixedText(SecondsOfMilliseconds(milliseconds), 3);
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

bool ReadNumber(const std::string& text, std::int32_t& value) {
    char* end = nullptr;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(number);
    return !text.empty() && end == text.c_str() + text.size();
}

// Seconds as the table writes them, to the millisecond at most ("412.25", "-3", "12.000"), read
// exactly; more digits than the table holds are not a time of it.
bool ReadMilliseconds(const std::string& text, std::int64_t& milliseconds) {
    constexpr std::size_t MostWholeDigits = 15;
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t point = std::min(text.find('.'), text.size());
    const std::string whole = text.substr(negative ? 1 : 0, point - (negative ? 1 : 0));
    const std::string fraction = point < text.size() ? text.substr(point + 1) : "";
    const auto digits = [](const std::string& part) {
        return std::ranges::all_of(part, [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > MostWholeDigits || !digits(whole) ||
        (point < text.size() && (fraction.empty() || fraction.size() > 3)) || !digits(fraction)) {
        return false;
    }
    const std::int64_t value =
        std::stoll(whole) * 1000 + std::stoll((fraction + "000").substr(0, 3));
    milliseconds = negative ? -value : value;
    return true;
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
    run.Persons = static_cast<std::int32_t>(project.Persons.size()) +
                  std::max(project.UndescribedPersons(), 0);
    if (keepCurve) {
        run.Curve = AnalyseEvacuation(project).Curve;
    }
    // It has persons, or it would have been refused.
    run.Left = run.Curve ? *run.Curve->Leaving : *LeavingTimesOf(project);
    run.SignificantRegions = AnalyseCongestion(project, settings, cores).SignificantCount();
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
    const auto time = [&](std::size_t k) { return runs[k].Left.AllMs; };
    std::ranges::stable_sort(ranked, {}, time);
    // Runs of equal times are ranked in the order of the list, so the first of them in the ranking
    // is the first in the list: every figure names that one.
    const auto figure = [&](std::size_t rank) {
        const std::int64_t milliseconds = time(ranked[rank]);
        const auto first = std::ranges::lower_bound(ranked, milliseconds, {}, time);
        return TRunFigure{milliseconds, *first};
    };
    TRunsFigures figures;
    figures.Counted = ranked.size();
    figures.LeftOut = runs.size() - ranked.size();
    figures.Least = figure(0);
    figures.Greatest = figure(ranked.size() - 1);
    figures.NinetyFifthRank = NinetyFifthRank(ranked.size());
    figures.NinetyFifth = figure(figures.NinetyFifthRank - 1);
    TWholeNumber sum = 0;
    for (const std::size_t k : ranked) {
        sum += time(k);
    }
    figures.MeanSeconds = {sum, static_cast<TWholeNumber>(ranked.size()) * 1000};
    return figures;
}

std::string RunsCsv(const std::vector<TRunSummary>& runs) {
    std::string text = std::string(CsvHeader) + "\n";
    for (const TRunSummary& run : runs) {
        text += CsvField(run.File) + ",";
        if (run.Counts()) {
            text += std::to_string(run.Persons) + "," + SecondsField(run.Left.AllMs) + "," +
                    SecondsField(run.Left.HalfMs) + "," + SecondsField(run.Left.NineTenthsMs) +
                    "," + std::to_string(run.SignificantRegions) + ",";
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
        const auto refuse = [&] {
            problem = "line " + std::to_string(line) + ": not a row of " + CsvHeader;
        };
        if (fields.size() < 7) {
            refuse();
            return {};
        }
        TRunSummary& run = runs.emplace_back();
        run.File = fields[0];
        run.Fault = fields[6];
        if (run.Fault.empty() &&
            !(ReadNumber(fields[1], run.Persons) && ReadMilliseconds(fields[2], run.Left.AllMs) &&
              ReadMilliseconds(fields[3], run.Left.HalfMs) &&
              ReadMilliseconds(fields[4], run.Left.NineTenthsMs) &&
              ReadNumber(fields[5], run.SignificantRegions))) {
            refuse();
            return {};
        }
    }
    return runs;
}
