#pragma once
// A project loaded for a command-line mode: the boxes a load would show go to stderr as
// "Title: text" and are kept with what was held back, and no progress is shown.

#include "BoxReports.h"
#include "LogFile.h"
#include "RecordingUiServices.h"

#include <cstdio>
#include <string>

struct THeadlessProject {
    TRecordingUiServices Services{/*echoToStderr=*/true};
    TScopedUiServices Installed{Services};
    TNoProgressWindow Progress;
    TBoxReports Reports;
    TLogFile Project{"Level"};

    THeadlessProject() { Project.ReportTo(Reports); }

    // False when nothing was loaded, or what was read has no project header: a report about
    // nothing is no success. The reason is on stderr.
    bool Load(const std::string& fileName) {
        if (!Project.Load(fileName, Progress)) {
            return false;
        }
        if (!Project.HeaderRead) {
            std::fprintf(stderr, "%s: no project header\n", fileName.c_str());
            return false;
        }
        return true;
    }
};
