#pragma once
// The windows the main window opens on request: the startup window, the quick reference and the
// project data window. Each shows modally; a window the start sequence left out is not opened
// (tests leave out what they do not look at).

class TStartupWindow;
class TQuickReferenceWindow;
class TLogFile;
class TProjectDataWindow;

class TInfoWindows {
public:
    TInfoWindows(TStartupWindow* intro, TQuickReferenceWindow* help,
                 TProjectDataWindow* projectData)
        : Intro(intro), Help(help), ProjectData(projectData) {}

    // The startup window for a time in milliseconds: a second at the start, five when asked for.
    void ShowStartupWindow(int milliseconds) const;
    void ShowQuickReference() const;
    // The data of the project, or that none is loaded.
    void ShowProjectData(const TLogFile* project) const;

private:
    TStartupWindow* Intro;
    TQuickReferenceWindow* Help;
    TProjectDataWindow* ProjectData;
};
