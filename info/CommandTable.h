#pragma once
// The program's commands that have a menu entry or a key, in one table: the main window builds its
// menus and window shortcuts from it, and the quick reference lists the keys from it, so that a
// key cannot be added in one place and missed in the other.

#include <cstddef>
#include <span>

enum class TCommand {
    OpenLogFile,
    CompareRuns,
    SingleShot,
    ScreenShotSeries,
    ExportVideo,
    Quit,
    DeckUp,
    DeckDown,
    ZoomIn,
    ZoomOut,
    FitDeck,
    ResetView,
    LookFromTop,
    LookFromSide,
    LookObliquely,
    LookFromPlan,
    SaveCamera,
    LoadCamera,
    ScaleBar,
    EvacuationCurve,
    CongestionMap,
    CongestionMapWholeReplay,
    CongestionReport,
    CongestionOutlines,
    FlowLabels,
    HidePersonsOnMap,
    ColourByWaiting,
    Trails,
    FindPerson,
    LastToLeave,
    FollowSelected,
    ClearSelection,
    PlayOrPause,
    ResetToStart,
    SecondForward,
    SecondBackward,
    StepForward,
    StepBackward,
    GoToStart,
    GoToEnd,
    ShowOrigin,
    AddLight,
    RemoveLight,
    Options,
    ProjectData,
    QuickReference,
    StartupWindow,
};
inline constexpr std::size_t CommandCount = std::size_t(TCommand::StartupWindow) + 1;

// The menus of the main window, left to right.
enum class TMenu { File, Views, Animation, Settings, Help };
inline constexpr std::size_t MenuCount = std::size_t(TMenu::Help) + 1;

// What sets an entry apart, or'ed together.
enum TCommandFlag : unsigned {
    SeparatorBefore = 1, // in its menu
    Checkable = 2,
    NeedsProject = 4, // enabled only with a project loaded
};

struct TCommandEntry {
    TCommand Command;
    // Where the entry is; for a window shortcut, where the quick reference lists it.
    TMenu Menu;
    // The menu entry; none for a shortcut of the window alone.
    const char* Caption;
    // As QKeySequence reads it ("Shift+L"); empty for none.
    const char* Key;
    // The quick reference's text; none when the command is not listed there.
    const char* ReferenceText = nullptr;
    // Its place among the keys listed under its menu's heading.
    int ReferenceRank = 0;
    unsigned Flags = 0;

    constexpr bool Has(TCommandFlag flag) const { return (Flags & flag) != 0; }
};

// Every command once, in menu order.
std::span<const TCommandEntry> CommandTable();

// "&File" ... "Help", as the menu bar shows them.
const char* MenuTitle(TMenu menu);

// The quick reference's heading of a menu's keys: its title without the accelerator.
const char* ReferenceHeading(TMenu menu);
