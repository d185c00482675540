// Start of the program: the headless command-line modes need no display; everything else opens
// the viewer's window.

#include "AnalysisModes.h"
#include "CommandLine.h"
#include "GuiStart.h"
#include "HeadlessModes.h"
#include "RenderMode.h"
#include "SummaryModes.h"
#include "VersionText.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// A report that did not reach its reader is no success: a full disk shows when the output is
// flushed, if not before.
int WithOutputChecked(int exitCode) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return exitCode;
    }
    std::fprintf(stderr, "ambla-viewer: the output could not be written: %s\n",
                 std::strerror(errno));
    return 1;
}

// The modes that print their report; none for the window and --render.
std::optional<int> RunReportMode(const TCommandLine& commandLine) {
    switch (commandLine.Mode) {
    case TCommandLine::TMode::Stats:
        return RunStatsMode(commandLine.FileName);
    case TCommandLine::TMode::Dump:
        return RunDumpMode(commandLine.FileName, commandLine.Steps);
    case TCommandLine::TMode::Check:
        return RunCheckMode(commandLine.FileName);
    case TCommandLine::TMode::Curve:
        return RunCurveMode(commandLine.FileName);
    case TCommandLine::TMode::Congestion:
        return RunCongestionMode(commandLine.FileName, commandLine.Analysis);
    case TCommandLine::TMode::Flows:
        return RunFlowsMode(commandLine.FileName, commandLine.Analysis, commandLine.PerSecond);
    case TCommandLine::TMode::Summary:
        return RunSummaryMode(commandLine.FileNames, commandLine.CsvOut, commandLine.Analysis);
    case TCommandLine::TMode::Merge:
        return RunMergeMode(commandLine.FileNames);
    case TCommandLine::TMode::Person:
        return RunPersonMode(commandLine.FileName, commandLine.Person);
    case TCommandLine::TMode::Help:
        std::fputs(UsageText, stdout);
        return 0;
    case TCommandLine::TMode::Version:
        std::printf("ambla-viewer %s\n", FileVersionText(3).toUtf8().constData());
        return 0;
    case TCommandLine::TMode::Render:
    case TCommandLine::TMode::Gui:
        break;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto [commandLine, mistake] = ParseCommandLine(args);
    if (!commandLine) {
        std::fputs(MistakeReport(mistake).c_str(), stderr);
        return 2;
    }
    if (const auto exitCode = RunReportMode(*commandLine)) {
        return WithOutputChecked(*exitCode);
    }
    if (commandLine->Mode == TCommandLine::TMode::Render) {
        return RunRenderMode(commandLine->FileName, commandLine->Render);
    }
    return RunGui(argc, argv, QFile::decodeName(commandLine->FileName.c_str()));
}
