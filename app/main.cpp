// Start of the program: the headless command-line modes need no display; everything else opens
// the viewer's window.

#include "CommandLine.h"
#include "GuiStart.h"
#include "HeadlessModes.h"
#include "RenderMode.h"
#include "VersionText.h"

#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto commandLine = ParseCommandLine(args);
    if (!commandLine) {
        std::fputs(UsageText, stderr);
        return 2;
    }
    switch (commandLine->Mode) {
    case TCommandLine::TMode::Stats:
        return RunStatsMode(commandLine->FileName);
    case TCommandLine::TMode::Dump:
        return RunDumpMode(commandLine->FileName, commandLine->Steps);
    case TCommandLine::TMode::Check:
        return RunCheckMode(commandLine->FileName);
    case TCommandLine::TMode::Curve:
        return RunCurveMode(commandLine->FileName);
    case TCommandLine::TMode::Render:
        return RunRenderMode(commandLine->FileName, commandLine->Render);
    case TCommandLine::TMode::Help:
        std::fputs(UsageText, stdout);
        return 0;
    case TCommandLine::TMode::Version:
        std::printf("ambla-viewer %s\n", FileVersionText(3).toUtf8().constData());
        return 0;
    case TCommandLine::TMode::Gui:
        break;
    }
    return RunGui(argc, argv, QFile::decodeName(commandLine->FileName.c_str()));
}
