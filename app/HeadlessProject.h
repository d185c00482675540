#pragma once
// A project loaded for a command-line mode: the boxes a load would show go to stderr as
// "Title: text" and are kept with what was held back, and no progress is shown.

#include "BoxReports.h"
#include "LogFile.h"
#include "RecordingUiServices.h"

#include <string>

struct THeadlessProject {
    TRecordingUiServices Services{/*echoToStderr=*/true};
    TScopedUiServices Installed{Services};
    TNoProgressWindow Progress;
    TBoxReports Reports;
    TLogFile Project{"Level"};

    THeadlessProject() { Project.ReportTo(Reports); }

    // False when nothing was loaded; the reason is on stderr already.
    bool Load(const std::string& fileName) { return Project.Load(fileName, Progress); }
};
