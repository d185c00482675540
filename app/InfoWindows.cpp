#include "InfoWindows.h"

#include "HelpForm.h"
#include "IntroForm.h"
#include "MessageNesting.h"
#include "ProjectDataForm.h"

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
