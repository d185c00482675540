#pragma once
// What the user asked for on the command line, or the mistake that keeps it from being read.

#include "AnalysisSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where --render puts the camera: as the window puts it after a load, or fitted to the whole
// deck straight from above, level with the deck from its bottom edge, halfway between, or as a
// flat plan.
enum class TRenderCamera { AfterLoad, Top, Side, Oblique, Plan };

// The frames --render writes, as given; the render mode checks the values.
struct TRenderRequest {
    std::string OutDir;
    // A video in place of the frames: its file, its frames a second (25 unless given), and the
    // seconds of replay each second of it shows, in thousandths (1 s unless given).
    std::string VideoFile;
    std::optional<std::int32_t> FramesPerSecond;
    std::optional<std::int32_t> SpeedThousandths;
    std::int32_t Deck = 0;
    std::string DeckCaption; // the deck by its caption; empty: the deck numbered Deck
    bool DeckGiven = false;  // --deck was given: it wins over the camera file's deck
    std::int32_t From = 0;
    std::optional<std::int32_t> To; // none: the step at which everybody has left
    std::int32_t Every = 1;
    std::int32_t Width = 1280;
    std::int32_t Height = 720;
    TRenderCamera Camera = TRenderCamera::AfterLoad;
    // A camera saved from the window, with the deck it showed; empty: none.
    std::string CameraFile;
    // Persons coloured by the seconds each has stood still, the scale ending at the limit.
    bool ColourByWaiting = false;
    std::int32_t WaitingLimit = 30;
    // The congestion map over the floor, with its legend; the persons left out over it or not.
    bool CongestionMap = false;
    bool HidePersonsOnMap = false;
    // The map of the whole replay in every frame, not the standing up to the frame's time.
    bool MapWholeReplay = false;
    // Each person's way of the last seconds as a line above the floor.
    bool Trails = false;
    std::int32_t TrailSeconds = 10;
    // The time, the deck and the saved count in the upper left corner of every frame.
    bool Caption = false;
    // The person selected and followed by the camera, numbered from 1 as given; none: nobody.
    std::optional<std::int32_t> Follow;
    // A scale bar in metres in the lower right corner, a cell being CellSizeMm wide (the
    // analysis options' --cell-size).
    bool ScaleBar = false;
    std::int32_t CellSizeMm = TAnalysisSettings{}.CellSizeMm;
};

struct TCommandLine {
    enum class TMode {
        Gui,
        Stats,
        Dump,
        Check,
        Curve,
        Congestion,
        Flows,
        Summary,
        Merge,
        Person,
        Render,
        Help,
        Version
    };
    TMode Mode = TMode::Gui;
    std::string FileName; // the log file; for the window, the optional file to open
    // The logs or folders of --summary, the tables of runs of --merge, in the order given.
    std::vector<std::string> FileNames;
    std::string CsvOut;      // where --summary writes its table of runs; empty: nowhere
    std::int32_t Steps = 0;  // playback steps before a dump
    std::int32_t Person = 0; // the person whose track is printed, numbered from 1
    TRenderRequest Render;
    // The measures of --congestion, --flows and --summary; their defaults, never the settings
    // store.
    TAnalysisSettings Analysis;
    bool PerSecond = false; // --flows adds the persons passing in each second
};

struct TParsedCommandLine {
    std::optional<TCommandLine> Line; // none after a mistake
    // The first mistake: the argument at fault and what was expected instead, such as
    // "--size 100: expected WIDTHxHEIGHT in pixels, e.g. 1280x720".
    std::string Mistake;
};

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// What stderr gets for a mistake: the program's name and the mistake, then where to read more.
std::string MistakeReport(const std::string& mistake);

extern const char* const UsageText;
