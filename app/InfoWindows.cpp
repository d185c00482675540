#include "InfoWindows.h"

#include "MessageNesting.h"
#include "ProjectDataWindow.h"
#include "QuickReferenceWindow.h"
#include "StartupWindow.h"

void TInfoWindows::ShowStartupWindow(int milliseconds) const {
    if (Intro != nullptr) {
        Intro->SetDisplayTime(milliseconds);
        const TMessageNesting nesting; // a modal window runs messages until it closes
        Intro->exec();
    }
}

void TInfoWindows::ShowQuickReference() const {
    if (Help != nullptr) {
        const TMessageNesting modal; // a modal window runs messages until it closes
        Help->exec();
    }
}

void TInfoWindows::ShowProjectData(const TLogFile* project) const {
    if (ProjectData != nullptr) {
        ProjectData->ShowReport(project);
    }
}
