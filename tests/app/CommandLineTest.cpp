// What the command line asks for, and what it must refuse.

#include "CommandLine.h"

#include <gtest/gtest.h>

using TArgs = std::vector<std::string>;
using TMode = TCommandLine::TMode;

TEST(CommandLine, ChoosesTheMode) {
    const struct {
        TArgs Args;
        TMode Mode;
        std::string File;
        std::int32_t Steps;
    } cases[] = {
        {{}, TMode::Gui, "", 0},
        {{"ship.3dl"}, TMode::Gui, "ship.3dl", 0},
        {{"ship.3dl", "more.3dl"}, TMode::Gui, "ship.3dl", 0},
        {{"-"}, TMode::Gui, "-", 0},
        {{"--stats", "ship.3dl"}, TMode::Stats, "ship.3dl", 0},
        {{"--curve", "ship.3dl"}, TMode::Curve, "ship.3dl", 0},
        {{"--congestion", "ship.3dl"}, TMode::Congestion, "ship.3dl", 0},
        {{"--flows", "--flows.3dl"}, TMode::Flows, "--flows.3dl", 0},
        {{"--dump", "ship.3dl"}, TMode::Dump, "ship.3dl", 0},
        {{"--dump", "ship.3dl", "--steps", "0"}, TMode::Dump, "ship.3dl", 0},
        {{"--dump", "a b.3dl", "--steps", "2147483647"}, TMode::Dump, "a b.3dl", 2147483647},
        {{"--check", "--unknown"}, TMode::Check, "--unknown", 0},
        {{"--help"}, TMode::Help, "", 0},
        {{"-h"}, TMode::Help, "", 0},
        {{"--version"}, TMode::Version, "", 0},
    };
    for (const auto& c : cases) {
        const TParsedCommandLine parsed = ParseCommandLine(c.Args);
        ASSERT_TRUE(parsed.Line.has_value()) << ::testing::PrintToString(c.Args);
        EXPECT_EQ(parsed.Mistake, "");
        EXPECT_EQ(parsed.Line->Mode, c.Mode);
        EXPECT_EQ(parsed.Line->FileName, c.File);
        EXPECT_EQ(parsed.Line->Steps, c.Steps);
    }
}

// Every mistake names the argument at fault and what was expected there.
TEST(CommandLine, NamesEachMistake) {
    const std::string renderTakes =
        "--render FILE takes --out, --video, --fps, --speed, --deck, --from, --to, --every, "
        "--size, --camera, --camera-file, --colour-waiting, --waiting-limit, --map, "
        "--map-whole, --hide-persons, --trails, --trail-seconds, --follow, --caption, --scale or "
        "--cell-size";
    const std::string steps = "expected N, a number of steps from 0 to 2147483647";
    const std::string size = "expected WIDTHxHEIGHT in pixels, e.g. 1280x720";
    const std::string person = "expected N, a person's number from 1";
    const std::string cellSize = "expected M, the side of a cell in metres, at least 0.001";
    const std::string density =
        "expected D, the persons per square metre above which a cell is congested, at least 0.1";
    const std::string share = "expected P, a whole percentage from 0 to 100";
    const std::string flowsTake =
        "--flows FILE takes --cell-size, --density, --window, --share or --per-second";
    const struct {
        TArgs Args;
        std::string Mistake;
    } cases[] = {
        {{"--bogus"},
         "--bogus: unknown option; expected FILE or one of --stats, --check, --curve, "
         "--congestion, --flows, --summary, --merge, --dump, --person, --render, --help, -h or "
         "--version"},
        {{"-x", "a.3dl"},
         "-x: unknown option; expected FILE or one of --stats, --check, --curve, --congestion, "
         "--flows, --summary, --merge, --dump, --person, --render, --help, -h or --version"},
        {{"--help", "a.3dl"}, "a.3dl: unexpected argument; --help takes no arguments"},
        {{"-h", "a.3dl"}, "a.3dl: unexpected argument; -h takes no arguments"},
        {{"--version", "-h"}, "-h: one mode at a time; --version is already given"},
        {{"--stats", "a.3dl", "--curve", "a.3dl"},
         "--curve: one mode at a time; --stats is already given"},
        {{"--stats"}, "--stats: missing FILE; expected the 3D log file after it"},
        {{"--render", "--out", "d"}, "--render: missing FILE; expected the 3D log file after it"},
        {{"--stats", "a.3dl", "b.3dl"}, "b.3dl: unexpected argument; --stats takes just one FILE"},
        {{"--check", "a.3dl", "-v"}, "-v: unknown option; --check takes just one FILE"},
        {{"--dump"}, "--dump: missing FILE; expected the 3D log file after it"},
        {{"--dump", "a.3dl", "--steps"}, "--steps: missing value; " + steps},
        {{"--dump", "a.3dl", "--steps", "--render"}, "--steps: missing value; " + steps},
        {{"--dump", "a.3dl", "--step", "3"}, "--step: unknown option; --dump FILE takes --steps"},
        {{"--dump", "a.3dl", "3"}, "3: unexpected argument; --dump FILE takes --steps"},
        {{"--dump", "a.3dl", "--steps", "3", "extra"},
         "extra: unexpected argument; --dump FILE takes --steps"},
        {{"--dump", "a.3dl", "--steps", "3", "--steps", "4"},
         "--steps: given twice; expected once"},
        {{"--dump", "a.3dl", "--steps", "-1"}, "--steps -1: out of range; " + steps},
        {{"--dump", "a.3dl", "--steps", "2147483648"},
         "--steps 2147483648: out of range; " + steps},
        {{"--dump", "a.3dl", "--steps", "+3"}, "--steps +3: not a whole number; " + steps},
        {{"--dump", "a.3dl", "--steps", "3x"}, "--steps 3x: not a whole number; " + steps},
        {{"--dump", "a.3dl", "--steps", "0x10"}, "--steps 0x10: not a whole number; " + steps},
        {{"--dump", "a.3dl", "--steps", ""}, "--steps '': not a whole number; " + steps},
        {{"--dump", "a.3dl", "--out", "d"}, "--out: only --render FILE takes this option"},
        {{"--steps", "3", "--dump", "a.3dl"}, "--steps: only --dump FILE takes this option"},
        {{"--size", "100"}, "--size: only --render FILE takes this option"},
        {{"--render", "a.3dl"},
         "--render: missing --out; expected --out DIR, the folder for the frames or --video "
         "OUT.mp4, the video file"},
        {{"--render", "a.3dl", "--deck", "1"},
         "--render: missing --out; expected --out DIR, the folder for the frames or --video "
         "OUT.mp4, the video file"},
        {{"--render", "a.3dl", "--out"},
         "--out: missing value; expected DIR, the folder for the frames"},
        {{"--render", "a.3dl", "--out", ""},
         "--out '': empty; expected DIR, the folder for the frames"},
        {{"--render", "a.3dl", "--out", "d", "--out", "e"}, "--out: given twice; expected once"},
        {{"--render", "a.3dl", "--out", "d", "--fps", "25"},
         "--fps: only --render FILE --video OUT.mp4 takes this option"},
        {{"--render", "a.3dl", "--out", "d", "--video", "v.mp4"},
         "--video: frames or a video, not both; --out is already given"},
        {{"--render", "a.3dl", "--video", "v.mp4", "--fps", "0"},
         "--fps 0: out of range; expected N, the video's frames a second, 1 to 120"},
        {{"--render", "a.3dl", "--out", "d", "frames"},
         "frames: unexpected argument; " + renderTakes},
        {{"--render", "a.3dl", "--out", "d", "--steps", "2"},
         "--steps: only --dump FILE takes this option"},
        {{"--render", "a.3dl", "--out", "d", "--size", "1280"}, "--size 1280: " + size},
        {{"--render", "a.3dl", "--out", "d", "--size", "1280x"}, "--size 1280x: " + size},
        {{"--render", "a.3dl", "--out", "d", "--size", "x720"}, "--size x720: " + size},
        {{"--render", "a.3dl", "--out", "d", "--size", "1280X720"}, "--size 1280X720: " + size},
        {{"--render", "a.3dl", "--out", "d", "--size", "1280x4294967296"},
         "--size 1280x4294967296: out of range; " + size},
        {{"--render", "a.3dl", "--out", "d", "--every", "1.5"},
         "--every 1.5: not a whole number; expected K, the steps from one frame to the next, "
         "from 1"},
        {{"--render", "a.3dl", "--out", "d", "--from", "-2147483649"},
         "--from -2147483649: out of range; expected S, the step of the first frame, from 0"},
        {{"--render", "a.3dl", "--out", "d", "--to", "ten"},
         "--to ten: not a whole number; expected T, the step of the last frame, from 0"},
        {{"--render", "a.3dl", "--out", "d", "--deck", "99999999999"},
         "--deck 99999999999: out of range; expected D, a deck's number from 0 or its caption"},
        {{"--render", "a.3dl", "--out", "d", "--deck", ""},
         "--deck '': empty; expected D, a deck's number from 0 or its caption"},
        {{"--render", "a.3dl", "--out", "d", "--camera", "Top"},
         "--camera Top: expected top, side, oblique or plan"},
        {{"--render", "a.3dl", "--out", "d", "--camera"},
         "--camera: missing value; expected top, side, oblique or plan"},
        {{"--render", "a.3dl", "--camera-file", "c.json", "--out", "d", "--camera", "top"},
         "--camera-file: a saved camera or a preset one, not both; --camera is already given"},
        {{"--render", "a.3dl", "--out", "d", "--camera-file"},
         "--camera-file: missing value; expected CAMERA.json, a camera file the window saved"},
        {{"--render", "a.3dl", "--out", "d", "--camera-file", ""},
         "--camera-file '': empty; expected CAMERA.json, a camera file the window saved"},
        {{"--person"}, "--person: missing value; " + person},
        {{"--person", "a.3dl"}, "--person a.3dl: not a whole number; " + person},
        {{"--person", "0", "a.3dl"}, "--person 0: out of range; " + person},
        {{"--person", "--stats", "a.3dl"}, "--person: missing value; " + person},
        {{"--person", "3"}, "--person 3: missing FILE; expected the 3D log file after it"},
        {{"--person", "3", "a.3dl", "b.3dl"},
         "b.3dl: unexpected argument; --person N takes just one FILE"},
        {{"--person", "3", "a.3dl", "--steps", "1"}, "--steps: only --dump FILE takes this option"},
        {{"--render", "a.3dl", "--out", "d", "--follow", "-1"},
         "--follow -1: out of range; expected N, the number of the person followed, from 1"},
        {{"--render", "a.3dl", "--out", "d", "--follow"},
         "--follow: missing value; expected N, the number of the person followed, from 1"},
        {{"--dump", "a.3dl", "--follow", "1"}, "--follow: only --render FILE takes this option"},
        {{"--congestion"}, "--congestion: missing FILE; expected the 3D log file after it"},
        {{"--flows", "--cell-size", "1"},
         "--flows: missing FILE; expected the 3D log file after it"},
        {{"--flows", "a.3dl", "--rate"}, "--rate: unknown option; " + flowsTake},
        {{"--flows", "a.3dl", "--cell-size"}, "--cell-size: missing value; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "0"}, "--cell-size 0: out of range; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "0.0004"},
         "--cell-size 0.0004: out of range; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "2147483.648"},
         "--cell-size 2147483.648: out of range; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "99999999999999999999"},
         "--cell-size 99999999999999999999: out of range; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "-0.4"},
         "--cell-size -0.4: not a decimal number; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "4e-1"},
         "--cell-size 4e-1: not a decimal number; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "."},
         "--cell-size .: not a decimal number; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", "1.2.3"},
         "--cell-size 1.2.3: not a decimal number; " + cellSize},
        {{"--flows", "a.3dl", "--cell-size", ""},
         "--cell-size '': not a decimal number; " + cellSize},
        {{"--congestion", "a.3dl", "--density", "0.04"},
         "--density 0.04: out of range; " + density},
        {{"--congestion", "a.3dl", "--window", "0"},
         "--window 0: out of range; expected M, the side of the square a density is taken in, in "
         "metres, at least 0.001"},
        {{"--congestion", "a.3dl", "--share", "101"}, "--share 101: out of range; " + share},
        {{"--congestion", "a.3dl", "--share", "12.5"},
         "--share 12.5: not a whole number; " + share},
        {{"--flows", "a.3dl", "--per-second", "--per-second"},
         "--per-second: given twice; expected once"},
        {{"--congestion", "a.3dl", "--per-second"},
         "--per-second: only --flows FILE takes this option"},
        {{"--curve", "a.3dl", "--cell-size", "0.4"},
         "--cell-size: only --congestion FILE, --flows FILE, --summary FILE or --render FILE takes "
         "this option"},
        {{"--density", "4"},
         "--density: only --congestion FILE, --flows FILE or --summary FILE takes this option"},
        {{"--flows", "a.3dl", "--congestion", "a.3dl"},
         "--congestion: one mode at a time; --flows is already given"},
        {{"a.3dl", "b.3dl", "--deck", "2"},
         "a.3dl --deck: an option after FILE; the window takes FILE alone"},
        {{"a.3dl", "-x"}, "a.3dl -x: an option after FILE; the window takes FILE alone"},
    };
    for (const auto& c : cases) {
        const TParsedCommandLine parsed = ParseCommandLine(c.Args);
        EXPECT_FALSE(parsed.Line.has_value()) << ::testing::PrintToString(c.Args);
        EXPECT_EQ(parsed.Mistake, c.Mistake) << ::testing::PrintToString(c.Args);
    }
}

TEST(CommandLine, AMistakeIsReportedWithWhereToReadMore) {
    EXPECT_EQ(MistakeReport("--size 100: expected WIDTHxHEIGHT"),
              "ambla-viewer: --size 100: expected WIDTHxHEIGHT\n"
              "Try 'ambla-viewer --help' for more information.\n");
}

// The values are taken as given, in any order; the render mode itself tells what is out of range.
TEST(CommandLine, TakesTheRenderOptionsInAnyOrder) {
    const auto line =
        ParseCommandLine({"--render", "a.3dl", "--size", "0x16385", "--every", "-2", "--to", "9",
                          "--camera", "oblique", "--out", "f", "--from", "3", "--deck", "-1"})
            .Line;
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->Mode, TMode::Render);
    EXPECT_EQ(line->FileName, "a.3dl");
    const TRenderRequest& r = line->Render;
    EXPECT_EQ(r.OutDir, "f");
    EXPECT_EQ(r.Width, 0);
    EXPECT_EQ(r.Height, 16385);
    EXPECT_EQ(r.Every, -2);
    EXPECT_EQ(r.To, 9);
    EXPECT_EQ(r.From, 3);
    EXPECT_EQ(r.Deck, -1);
    EXPECT_EQ(r.DeckCaption, "");
    EXPECT_TRUE(r.DeckGiven);
    EXPECT_EQ(r.Camera, TRenderCamera::Oblique);
    EXPECT_FALSE(r.ColourByWaiting || r.CongestionMap || r.Trails || r.HidePersonsOnMap ||
                 r.Caption);

    // Switches take no value, wherever they stand among the options that do.
    const auto switched = ParseCommandLine({"--render", "a.3dl", "--map", "--out", "f", "--trails",
                                            "--waiting-limit", "5", "--colour-waiting",
                                            "--trail-seconds", "3", "--hide-persons", "--caption"})
                              .Line;
    ASSERT_TRUE(switched.has_value());
    EXPECT_TRUE(switched->Render.CongestionMap && switched->Render.Trails &&
                switched->Render.ColourByWaiting && switched->Render.HidePersonsOnMap &&
                switched->Render.Caption);
    EXPECT_FALSE(switched->Render.MapWholeReplay) << "the map up to each frame's time";
    const auto whole = ParseCommandLine({"--render", "a.3dl", "--out", "f", "--map-whole"}).Line;
    ASSERT_TRUE(whole.has_value());
    EXPECT_TRUE(whole->Render.CongestionMap && whole->Render.MapWholeReplay);
    EXPECT_EQ(switched->Render.OutDir, "f");
    EXPECT_EQ(switched->Render.WaitingLimit, 5);
    EXPECT_EQ(switched->Render.TrailSeconds, 3);

    const auto defaults = ParseCommandLine({"--render", "a.3dl", "--out", "f"}).Line;
    ASSERT_TRUE(defaults.has_value());
    EXPECT_EQ(defaults->Render.Width, 1280);
    EXPECT_EQ(defaults->Render.Height, 720);
    EXPECT_EQ(defaults->Render.Every, 1);
    EXPECT_EQ(defaults->Render.From, 0);
    EXPECT_FALSE(defaults->Render.To.has_value());
    EXPECT_EQ(defaults->Render.Deck, 0);
    EXPECT_EQ(defaults->Render.DeckCaption, "");
    EXPECT_EQ(defaults->Render.Camera, TRenderCamera::AfterLoad);
    EXPECT_FALSE(defaults->Render.DeckGiven);
    EXPECT_EQ(defaults->Render.CameraFile, "");

    // A camera file leaves the deck to the file unless --deck is given.
    const auto camera =
        ParseCommandLine({"--render", "a.3dl", "--camera-file", "view.json", "--out", "f"}).Line;
    ASSERT_TRUE(camera.has_value());
    EXPECT_EQ(camera->Render.CameraFile, "view.json");
    EXPECT_FALSE(camera->Render.DeckGiven);
    EXPECT_EQ(camera->Render.Camera, TRenderCamera::AfterLoad);
}

// Digits alone, with an optional minus, are a deck's number; anything else is its caption.
TEST(CommandLine, TakesADeckByNumberOrCaptionAndEachCamera) {
    const struct {
        std::string Value;
        std::int32_t Deck;
        std::string Caption;
    } decks[] = {{"2", 2, ""},
                 {"007", 7, ""},
                 {"-3", -3, ""},
                 {"+3", 0, "+3"},
                 {"1.5", 0, "1.5"},
                 {"-", 0, "-"},
                 {"Deck 2 - Boat deck, muster stations", 0, "Deck 2 - Boat deck, muster stations"}};
    for (const auto& d : decks) {
        const auto line = ParseCommandLine({"--render", "a.3dl", "--deck", d.Value, "--out", "f"});
        ASSERT_TRUE(line.Line.has_value()) << d.Value << ": " << line.Mistake;
        EXPECT_EQ(line.Line->Render.Deck, d.Deck) << d.Value;
        EXPECT_EQ(line.Line->Render.DeckCaption, d.Caption) << d.Value;
    }
    for (const auto& [value, camera] :
         {std::pair{"top", TRenderCamera::Top}, std::pair{"side", TRenderCamera::Side},
          std::pair{"oblique", TRenderCamera::Oblique}, std::pair{"plan", TRenderCamera::Plan}}) {
        const auto line = ParseCommandLine({"--render", "a.3dl", "--out", "f", "--camera", value});
        ASSERT_TRUE(line.Line.has_value()) << value;
        EXPECT_EQ(line.Line->Render.Camera, camera) << value;
    }
}

// A person's number from 1, as given: before the FILE of --person, and after --render's --follow.
TEST(CommandLine, TakesPersonNumbers) {
    for (const auto& [value, number] :
         {std::pair{"1", 1}, std::pair{"0042", 42}, std::pair{"2147483647", 2147483647}}) {
        const auto person = ParseCommandLine({"--person", value, "a.3dl"});
        ASSERT_TRUE(person.Line.has_value()) << value << ": " << person.Mistake;
        EXPECT_EQ(person.Line->Mode, TMode::Person);
        EXPECT_EQ(person.Line->Person, number);
        EXPECT_EQ(person.Line->FileName, "a.3dl");

        const auto follow =
            ParseCommandLine({"--render", "a.3dl", "--follow", value, "--out", "f"}).Line;
        ASSERT_TRUE(follow.has_value()) << value;
        EXPECT_EQ(follow->Render.Follow, number);
        EXPECT_EQ(follow->Render.OutDir, "f");
    }
    EXPECT_FALSE(ParseCommandLine({"--render", "a.3dl", "--out", "f"}).Line->Render.Follow);
}

// Metres to whole millimetres and persons per square metre to tenths, read exactly and rounded
// half up; a percentage as a whole number. Options not given keep the analysis defaults.
TEST(CommandLine, TakesTheAnalysisOptions) {
    const TAnalysisSettings defaults;
    const auto flows = ParseCommandLine({"--flows", "a.3dl"}).Line;
    ASSERT_TRUE(flows.has_value());
    EXPECT_EQ(flows->Mode, TMode::Flows);
    EXPECT_FALSE(flows->PerSecond);
    EXPECT_EQ(flows->Analysis.CellSizeMm, defaults.CellSizeMm);
    EXPECT_EQ(flows->Analysis.DensityWindowMm, defaults.DensityWindowMm);
    EXPECT_EQ(flows->Analysis.CongestionDensityTenths, defaults.CongestionDensityTenths);
    EXPECT_EQ(flows->Analysis.SignificantSharePercent, defaults.SignificantSharePercent);

    const struct {
        std::string Value;
        std::int32_t Millimetres;
        std::int32_t Tenths;
    } decimals[] = {{"0.4", 400, 4},    {"1", 1000, 10},  {".25", 250, 3},
                    {"2.", 2000, 20},   {"0.0005", 1, 0}, {"0.4004", 400, 4},
                    {"0.4005", 401, 4}, {"0.05", 50, 1},  {"2147483.647", 2147483647, 0}};
    for (const auto& d : decimals) {
        const auto line = ParseCommandLine(
            {"--congestion", "a.3dl", "--window", d.Value, "--cell-size", d.Value});
        ASSERT_TRUE(line.Line.has_value()) << d.Value << ": " << line.Mistake;
        EXPECT_EQ(line.Line->Analysis.CellSizeMm, d.Millimetres) << d.Value;
        EXPECT_EQ(line.Line->Analysis.DensityWindowMm, d.Millimetres) << d.Value;
        if (d.Tenths > 0) {
            const auto density = ParseCommandLine({"--flows", "a.3dl", "--density", d.Value});
            ASSERT_TRUE(density.Line.has_value()) << d.Value << ": " << density.Mistake;
            EXPECT_EQ(density.Line->Analysis.CongestionDensityTenths, d.Tenths) << d.Value;
        }
    }

    const auto all = ParseCommandLine({"--flows", "a.3dl", "--share", "0", "--per-second",
                                       "--density", "5.5", "--cell-size", "0.5"})
                         .Line;
    ASSERT_TRUE(all.has_value());
    EXPECT_TRUE(all->PerSecond);
    EXPECT_EQ(all->Analysis.SignificantSharePercent, 0);
    EXPECT_EQ(all->Analysis.CongestionDensityTenths, 55);
    EXPECT_EQ(all->Analysis.CellSizeMm, 500);
    EXPECT_EQ(all->Analysis.DensityWindowMm, defaults.DensityWindowMm);
    EXPECT_EQ(ParseCommandLine({"--congestion", "a.3dl", "--share", "100"})
                  .Line->Analysis.SignificantSharePercent,
              100);
}

// --summary takes files and folders up to its first option, then --csv and the analysis options;
// --merge takes tables only.
TEST(CommandLine, TakesTheRunsOfASummaryAndTheTablesOfAMerge) {
    const auto summary =
        ParseCommandLine({"--summary", "runs", "b.3dl", "-", "--share", "5", "--csv", "out.csv"})
            .Line;
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->Mode, TMode::Summary);
    EXPECT_EQ(summary->FileNames, (std::vector<std::string>{"runs", "b.3dl", "-"}));
    EXPECT_EQ(summary->CsvOut, "out.csv");
    EXPECT_EQ(summary->Analysis.SignificantSharePercent, 5);

    const auto merge = ParseCommandLine({"--merge", "a.csv", "b.csv"}).Line;
    ASSERT_TRUE(merge.has_value());
    EXPECT_EQ(merge->Mode, TMode::Merge);
    EXPECT_EQ(merge->FileNames, (std::vector<std::string>{"a.csv", "b.csv"}));
    EXPECT_EQ(ParseCommandLine({"--merge", "a.csv", "--csv", "b.csv"}).Mistake,
              "--csv: only --summary FILE takes this option");
    EXPECT_EQ(ParseCommandLine({"--summary", "--csv", "b.csv"}).Mistake,
              "--summary: missing FILE; expected the 3D log file after it");
    EXPECT_EQ(ParseCommandLine({"--summary", "a.3dl", "--csv"}).Mistake,
              "--csv: missing value; expected OUT, the file for the table of runs");
}
