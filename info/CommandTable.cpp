#include "CommandTable.h"

#include <array>

namespace {

using enum TCommand;
using enum TMenu;

constexpr std::array<TCommandEntry, CommandCount> Table{{
    {OpenLogFile, File, "&Load logfile", "Ctrl+L", "Load log file", 1},
    {CompareRuns, File, "Compare &runs...", ""},
    {SingleShot, File, "&Single screen shot", "Y", "Single screen shot", 2, SeparatorBefore},
    {ScreenShotSeries, File, "S&creen shot series", "X", "Screen shot series", 3, Checkable},
    {ExportVideo, File, "Export &video...", "", nullptr, 0, NeedsProject},
    // The recent files come before this entry, each with a separator.
    {Quit, File, "Quit", "Alt+F4", "Quit programme", 4, SeparatorBefore},
    {DeckUp, Views, "Deck up", "W", "Deck up", 1},
    {DeckDown, Views, "Deck down", "S", "Deck down", 2},
    {ZoomIn, Views, "Zoom in", "Q", "Zoom in", 3, SeparatorBefore},
    {ZoomOut, Views, "Zoom out", "A", "Zoom out", 4},
    {FitDeck, Views, "&Fit deck", "Z", "Fit deck", 5, NeedsProject},
    {ResetView, Views, "&Reset view", "R", "Reset view", 6, NeedsProject},
    {LookFromTop, Views, "To&p", "", nullptr, 0, SeparatorBefore | NeedsProject},
    {LookFromSide, Views, "&Side", "", nullptr, 0, NeedsProject},
    {LookObliquely, Views, "&Oblique", "", nullptr, 0, NeedsProject},
    {LookFromPlan, Views, "Plan", "P", "Plan: straight down, flat, north up", 14, NeedsProject},
    {SaveCamera, Views, "Save c&amera...", "", nullptr, 0, NeedsProject},
    {LoadCamera, Views, "Loa&d camera...", "", nullptr, 0, NeedsProject},
    {ScaleBar, Views, "Scale bar", "", nullptr, 0, Checkable},
    {EvacuationCurve, Views, "Evacuation &curve...", "E", "Evacuation curve", 7,
     SeparatorBefore | NeedsProject},
    {CongestionMap, Views, "Congestion &map", "H", "Congestion map", 8, Checkable | NeedsProject},
    {CongestionMapWholeReplay, Views, "Congestion map of the whole replay", "", nullptr, 0,
     Checkable},
    {CongestionReport, Views, "Con&gestion report...", "", nullptr, 0, NeedsProject},
    {CongestionOutlines, Views, "Congestion o&utlines", "", nullptr, 0, Checkable | NeedsProject},
    {FlowLabels, Views, "Flow la&bels", "", nullptr, 0, Checkable | NeedsProject},
    {HidePersonsOnMap, Views, "&Hide persons on the map", "", nullptr, 0, Checkable},
    {ColourByWaiting, Views, "Colour by &waiting", "C", "Colour persons by waiting", 9, Checkable},
    {Trails, Views, "&Trails", "T", "Trails", 10, Checkable},
    {FindPerson, Views, "F&ind person...", "Ctrl+F", "Find person by number", 11,
     SeparatorBefore | NeedsProject},
    {LastToLeave, Views, "&Last to leave", "", nullptr, 0, NeedsProject},
    {FollowSelected, Views, "Follow s&elected", "F", "Follow selected person", 12,
     Checkable | NeedsProject},
    {ClearSelection, Views, "Clear selectio&n", "Esc", "Clear selection", 13, NeedsProject},
    {PlayOrPause, Animation, "&Run/Pause", "2", "Run/pause", 2},
    {ResetToStart, Animation, "Reset to &start", "1", "Reset to start", 1},
    {SecondForward, Animation, "Step &forward", "4", "Step forward", 4, SeparatorBefore},
    {SecondBackward, Animation, "Step &backward", "3", "Step backward", 3},
    {StepForward, Animation, "Step one time step forward", "Shift+4", "Step one time step forward",
     6},
    {StepBackward, Animation, "Step one time step backward", "Shift+3",
     "Step one time step backward", 5},
    {GoToStart, Animation, "&Go to start", "Home", "Go to start", 7},
    {GoToEnd, Animation, "Go to &end", "End", "Go to end", 8},
    {ShowOrigin, Settings, "S&how origin", "", nullptr, 0, Checkable},
    {AddLight, Settings, "&Add light", "L", "Add light above origin", 1},
    {RemoveLight, Settings, "&Remove light", "Shift+L", "Remove light closest to origin", 2},
    {Options, Settings, "&Options...", "", nullptr, 0, SeparatorBefore},
    {ProjectData, Settings, "&Statistics...", ""},
    {QuickReference, Help, "Help...", "F1"},
    {StartupWindow, Help, "Startup window...", "", nullptr, 0, SeparatorBefore},
}};

constexpr bool InCommandOrder() {
    for (std::size_t i = 0; i < Table.size(); ++i) {
        if (Table[i].Command != TCommand(i)) {
            return false;
        }
    }
    return true;
}
static_assert(InCommandOrder(), "one entry for each command, in the order of TCommand");

} // namespace

std::span<const TCommandEntry> CommandTable() {
    return Table;
}

const char* MenuTitle(TMenu menu) {
    constexpr std::array<const char*, MenuCount> titles{"&File", "&Views", "&Animation",
                                                        "&Settings", "Help"};
    return titles[std::size_t(menu)];
}

const char* ReferenceHeading(TMenu menu) {
    constexpr std::array<const char*, MenuCount> headings{"File", "Views", "Animation", "Settings",
                                                          "Help"};
    return headings[std::size_t(menu)];
}
