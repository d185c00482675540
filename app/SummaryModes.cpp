#include "SummaryModes.h"

#include "FileWriting.h"
#include "ProgressLine.h"
#include "RunSummary.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

namespace {

std::string SecondsText(const TExactRatio& seconds) {
    return FixedText(seconds, 3) + " s";
}

std::string SecondsText(std::int64_t milliseconds) {
    return SecondsText(SecondsOfMilliseconds(milliseconds));
}

// "r01.3dl: 1200 persons, all left 412.250 s, half 201.000 s, nine tenths 350.500 s, 0
// significant regions", or "r02.3dl: left out: line 12: ...".
void PrintRun(const TRunSummary& run) {
    if (!run.Counts()) {
        std::printf("%s: left out: %s\n", run.File.c_str(), run.Fault.c_str());
        return;
    }
    std::printf("%s: %d persons, all left %s, half %s, nine tenths %s, %d significant "
                "region%s\n",
                run.File.c_str(), static_cast<int>(run.Persons),
                SecondsText(run.Left.AllMs).c_str(), SecondsText(run.Left.HalfMs).c_str(),
                SecondsText(run.Left.NineTenthsMs).c_str(),
                static_cast<int>(run.SignificantRegions), run.SignificantRegions == 1 ? "" : "s");
}

void PrintFigure(const char* name, const TRunFigure& figure, const std::vector<TRunSummary>& runs,
                 const std::string& remark = {}) {
    std::printf("  %-9s %14s  %s%s\n", name, SecondsText(figure.Milliseconds).c_str(),
                runs[figure.Run].File.c_str(), remark.c_str());
}

// The assembly time over the runs that count; false when none does.
bool PrintFigures(const std::vector<TRunSummary>& runs) {
    const std::optional<TRunsFigures> figures = FiguresOver(runs);
    if (!figures) {
        std::printf("No run can be counted: every one was left out.\n");
        return false;
    }
    std::printf("\nTime at which everybody has left, over %zu run%s", figures->Counted,
                figures->Counted == 1 ? "" : "s");
    std::printf(figures->LeftOut > 0 ? " (%zu left out):\n" : ":\n", figures->LeftOut);
    PrintFigure("least", figures->Least, runs);
    std::printf("  %-9s %14s\n", "mean", SecondsText(figures->MeanSeconds).c_str());
    const std::string rank = figures->FewerThanTwenty()
                                 ? "  (the greatest: with fewer than 20 runs none is higher "
                                   "than 95 % of them)"
                                 : "  (rank " + std::to_string(figures->NinetyFifthRank) + " of " +
                                       std::to_string(figures->Counted) + ")";
    PrintFigure("95 %", figures->NinetyFifth, runs, rank);
    PrintFigure("greatest", figures->Greatest, runs);
    return true;
}

// Prints the runs and the figures; 1 when any was left out or none counts.
int Report(const std::vector<TRunSummary>& runs) {
    for (const TRunSummary& run : runs) {
        PrintRun(run);
    }
    const bool counted = PrintFigures(runs);
    return counted && std::ranges::all_of(runs, &TRunSummary::Counts) ? 0 : 1;
}

// The whole text of a file; none, with the system's reason in `problem`, when it cannot be read
// to its end (a folder, a file without read permission, an error on the way).
std::optional<std::string> WholeFile(const std::string& name, std::string& problem) {
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        problem = std::string("cannot be read: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    const int reason = errno;
    std::fclose(file);
    if (failed) {
        problem = std::string("cannot be read: ") + std::strerror(reason);
        return std::nullopt;
    }
    return text;
}

// The logs on as many cores as there are, at least two at once.
std::size_t Workers() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 2, 8);
}

} // namespace

std::vector<std::string> LogsNamed(const std::vector<std::string>& files) {
    std::vector<std::string> logs;
    for (const std::string& file : files) {
        std::error_code error;
        if (!std::filesystem::is_directory(file, error)) {
            logs.push_back(file);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(file, error)) {
            if (entry.path().extension() == ".3dl" && !entry.is_directory(error)) {
                inFolder.push_back(entry.path().string());
            }
        }
        std::ranges::sort(inFolder);
        if (inFolder.empty()) {
            inFolder.push_back(file); // reported as a log that cannot be read
        }
        logs.insert(logs.end(), inFolder.begin(), inFolder.end());
    }
    return logs;
}

int RunSummaryMode(const std::vector<std::string>& files, const std::string& csvOut,
                   const TAnalysisSettings& settings) {
    const std::vector<std::string> logs = LogsNamed(files);
    TProgressLine progress(stderr, static_cast<std::int64_t>(logs.size()));
    progress.NamePieces("log");
    std::int64_t done = 0;
    progress.Show(0);
    const std::vector<TRunSummary> runs =
        SummariseRuns(logs, settings, Workers(), false,
                      [&](std::size_t, const TRunSummary&) { progress.Show(++done); });
    progress.Finish();
    int exitCode = Report(runs);
    if (!csvOut.empty()) {
        const QString problem = WriteFileAtomically(QFile::decodeName(csvOut.c_str()),
                                                    QByteArray::fromStdString(RunsCsv(runs)));
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "ambla-viewer: %s was not written: %s\n", csvOut.c_str(),
                         problem.toLocal8Bit().constData());
            exitCode = 1;
        }
    }
    return exitCode;
}

int RunMergeMode(const std::vector<std::string>& tables) {
    std::vector<TRunSummary> runs;
    bool allRead = true;
    for (const std::string& table : tables) {
        std::string problem;
        const std::optional<std::string> text = WholeFile(table, problem);
        std::vector<TRunSummary> rows =
            text ? RunsFromCsv(*text, problem) : std::vector<TRunSummary>{};
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", table.c_str(), problem.c_str());
            allRead = false;
        }
        runs.insert(runs.end(), rows.begin(), rows.end());
    }
    const int exitCode = Report(runs);
    return allRead ? exitCode : 1;
}
