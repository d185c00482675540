// The built program in its headless modes, run as a user would run it.

#include "CommandLine.h"
#include "FigureTies.h"
#include "JsonCheck.h"
#include "LogTestSupport.h"
#include "ProgramTest.h"
#include "TinyLogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const std::string SmallFile = "<header>\nversion 2\npmax 2\nxmax 3\nymax 2\nzmax 1\nvmax 2\n"
                              "toff 30\n</header>\n<deck>\ncaption Deck \"A\"\tB\xe9\nlevel 0\n"
                              "(celldata)\nP3x0\n0 0 0\n</deck>\n<persons>\n<startpositions>\n"
                              "0 0 0 3 4\n2 1 0 1 5\n(movement)\n3 3 S\nP5x0 S\n</persons>\n";

const std::string VersionWarning =
    "Warning: The loaded file is not of version 1.\nThis can result in errors!\n";

class HeadlessMode : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        File = (Dir / "small.3dl").string();
        std::ofstream(File, std::ios::binary) << SmallFile;
    }

    std::string File;
};

// The text between two markers of the output.
std::string Between(const std::string& text, const std::string& before, const std::string& after) {
    const std::size_t start = text.find(before);
    const std::size_t end =
        start == std::string::npos ? start : text.find(after, start + before.size());
    if (end == std::string::npos) {
        return "(not found)";
    }
    return text.substr(start + before.size(), end - start - before.size());
}

} // namespace

TEST_F(HeadlessMode, DumpPrintsOneJsonObjectAfterThePlayback) {
    const TRun run = Run({"--dump", File, "--steps", "3"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, VersionWarning);
    EXPECT_EQ(run.Out.find('\n'), run.Out.size() - 1); // one line
    EXPECT_TRUE(IsStrictUtf8(run.Out));
    EXPECT_EQ(ReadJsonString(Between(run.Out, "\"caption\":", ",\"cellCount\"")),
              "Deck \"A\"\tB\xc3\xa9");
    EXPECT_EQ(ReadJsonString(Between(run.Out, "\"text\":", "}],")),
              "The loaded file is not of version 1.\nThis can result in errors!");
    EXPECT_THAT(run.Out, StartsWith("{\"pmax\":2,\"xmax\":3,\"ymax\":2,\"zmax\":1,\"vmax\":2,"
                                    "\"toff\":30,\"decks\":[{"));
    EXPECT_THAT(run.Out, HasSubstr("\"cellCount\":6,\"quadCount\":1,\"quads\":[[1,1,1,-1,1,0,"));
    EXPECT_THAT(run.Out, HasSubstr("\"lightCount\":1,\"lights\":[{\"on\":true,\"x\":0,\"y\":0},"));
    // The first person has left after its two moves; the second still stands at its start.
    EXPECT_THAT(run.Out, HasSubstr("\"persons\":[{\"attribute\":4,\"moveCount\":2,\"startX\":0,"
                                   "\"startY\":0,\"startLevel\":0,\"startHeading\":3,\"x\":1.5,"
                                   "\"y\":0.5,\"level\":-1,\"heading\":3},{\"attribute\":5,"));
    EXPECT_THAT(run.Out, HasSubstr("\"x\":1.5,\"y\":-0.5,\"level\":0,\"heading\":1}],"));
    EXPECT_THAT(run.Out,
                HasSubstr("\"timeStep\":3,\"savedCount\":1,\"timeText\":\"Time: 0:31 min\","
                          "\"savedText\":\"Saved: 1\",\"warnings\":[{\"title\":\"Warning\","));
    EXPECT_THAT(run.Out, ::testing::EndsWith("}],\"heldBackWarnings\":[]}\n"));

    // A person whose moves come without a start record stands on no cell: at the origin, as
    // stored dumps have it, and not at the centre of some cell.
    const std::string unstarted = (Dir / "unstarted.3dl").string();
    std::ofstream(unstarted, std::ios::binary)
        << "<header>\nversion 1\npmax 2\nxmax 4\nymax 3\nzmax 1\nvmax 1\ntoff 0\n</header>\n"
           "<persons>\n<startpositions>\n1 1 0 1 0\n(movement)\nP3x0 S\nP3x0 S\n</persons>\n";
    EXPECT_THAT(Run({"--dump", unstarted}).Out,
                HasSubstr("\"startX\":-1,\"startY\":-1,\"startLevel\":-1,\"startHeading\":0,"
                          "\"x\":0,\"y\":0,\"level\":-1,"));
}

TEST_F(HeadlessMode, StatsPrintsTheReport) {
    const TRun run = Run({"--stats", File});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, VersionWarning);
    EXPECT_EQ(run.Out, " \nProject Size:\n\tLenght [cells]:\t\t\t3\n\tWidth [cells]:\t\t\t2\n"
                       "\tLevels:\t\t\t\t1\n\tAgents:\t\t\t\t2\n\n3D-Statistics:\n"
                       "\tLevel 0 [cells, polygons, reduction]:\t6,\t1,\t83%\n");
}

TEST_F(HeadlessMode, FileThatCannotBeOpenedIsReportedAndFails) {
    const std::string missing = (Dir / "missing.3dl").string();
    // The message on stderr, no report that would look like a read file, and a failure code.
    const TRun stats = Run({"--stats", missing});
    EXPECT_EQ(stats.ExitCode, 1);
    EXPECT_EQ(stats.Err, "Error: Cannot open file:\n" + missing + "\n");
    EXPECT_EQ(stats.Out, "");

    const TRun dump = Run({"--dump", missing});
    EXPECT_EQ(dump.ExitCode, 1);
    EXPECT_EQ(dump.Err, stats.Err);
    EXPECT_EQ(dump.Out, "");

    // A text that is no log is no empty project: a report about nothing is no success.
    const std::string text = (Dir / "README.md").string();
    std::ofstream(text, std::ios::binary) << "# A project\n\nSome words, no header.\n";
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--stats", text},
                                               {"--dump", text},
                                               {"--curve", text},
                                               {"--congestion", text},
                                               {"--flows", text},
                                               {"--person", "1", text}}) {
        SCOPED_TRACE(args.front());
        const TRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, text + ": no project header\n");
    }

    // A device would be read for ever: it is refused at once.
    const TRun device = Run({"--stats", "/dev/zero"});
    EXPECT_EQ(device.ExitCode, 1);
    EXPECT_EQ(device.Err, "Error: Cannot open file:\n/dev/zero\nIt is a device or another special "
                          "file, not a regular file or a pipe.\n");
}

// Faults in the form compilers use, every one of them, and an exit code for each outcome.
TEST_F(HeadlessMode, CheckListsEveryFaultWithLineAndColumn) {
    const TRun faulty = Run({"--check", File});
    EXPECT_EQ(faulty.ExitCode, 1);
    EXPECT_EQ(faulty.Out, File +
                              ":2:9: The loaded file is not of version 1. This can result in "
                              "errors!\n" +
                              File + ": 1 fault\n");
    EXPECT_EQ(faulty.Err, "");

    std::string floods = SmallFile;
    for (int i = 0; i < 12; ++i) {
        floods += "<persons>\n(movement)\n? ?\nS\nS\n</persons>\n";
    }
    std::ofstream(File, std::ios::binary) << floods;
    const TRun many = Run({"--check", File});
    EXPECT_EQ(many.ExitCode, 1);
    // Beyond the ten a window shows; the last at line 93.
    EXPECT_THAT(many.Out, HasSubstr(File + ":93:3: \"?\" is not a valid number. It is skipped.\n"));
    EXPECT_THAT(many.Out, HasSubstr(File + ": 25 faults\n"));

    const TRun clean = Run({"--check", std::string(AMBLA_SAMPLES_DIR) + "/ferry.3dl"});
    EXPECT_EQ(clean.ExitCode, 0);
    EXPECT_EQ(clean.Out, std::string(AMBLA_SAMPLES_DIR) + "/ferry.3dl: no faults\n");

    const std::string missing = (Dir / "missing.3dl").string();
    const TRun unreadable = Run({"--check", missing});
    EXPECT_EQ(unreadable.ExitCode, 2);
    EXPECT_EQ(unreadable.Err, missing + ": Cannot open file: " + missing + "\n");
    EXPECT_EQ(unreadable.Out, "");
}

// A folder of runs with known leave times and a cut one, and a file that is missing: a line per
// run, the figures over those that count, the table of runs beside them; merging that table gives
// the same figures. Any run left out, or a table not written, fails the run.
TEST_F(HeadlessMode, SummaryCountsTheRunsThatCanBeReadAndMergeGivesTheSameFigures) {
    const std::filesystem::path runs = Dir / "runs";
    std::filesystem::create_directory(runs);
    // Everybody has left at 20 s, 40 s and 12 s (steps 20, 60 and 4 at two a second, +10 s).
    std::ofstream(runs / "a.3dl", std::ios::binary) << LogWithLists({3, 7, 9, 19});
    std::ofstream(runs / "b.3dl", std::ios::binary) << LogWithLists({1, 59});
    std::ofstream(runs / "c.3dl", std::ios::binary) << LogWithLists({3});
    std::ofstream(runs / "d.3dl", std::ios::binary) << LogWithLists({3, 3}).substr(0, 150);
    std::ofstream(runs / "notes.txt", std::ios::binary) << "not a run\n";
    const std::string missing = (Dir / "e.3dl").string();
    const std::string table = (Dir / "runs.csv").string();

    const TRun summary = Run({"--summary", runs.string(), missing, "--csv", table});
    EXPECT_EQ(summary.ExitCode, 1);
    const std::string folder = runs.string() + "/";
    EXPECT_THAT(summary.Out, StartsWith(folder +
                                        "a.3dl: 4 persons, all left 20.000 s, half "
                                        "14.000 s, nine tenths 20.000 s, 0 significant "
                                        "regions\n" +
                                        folder + "b.3dl: 2 persons, all left 40.000 s"));
    EXPECT_THAT(summary.Out, HasSubstr(folder + "d.3dl: left out: line "));
    EXPECT_THAT(summary.Out, HasSubstr(missing + ": left out: Cannot open file: " + missing));
    const std::string figures = "\nTime at which everybody has left, over 3 runs (2 left out):\n"
                                "  least           12.000 s  " +
                                folder +
                                "c.3dl\n"
                                "  mean            24.000 s\n"
                                "  95 %            40.000 s  " +
                                folder +
                                "b.3dl  (the greatest: with fewer than 20 runs none is higher "
                                "than 95 % of them)\n"
                                "  greatest        40.000 s  " +
                                folder + "b.3dl\n";
    EXPECT_THAT(summary.Out, testing::EndsWith(figures));
    EXPECT_THAT(summary.Err, HasSubstr("log 5 of 5 ["));
    std::ifstream written(table);
    const std::string csv((std::istreambuf_iterator<char>(written)), {});
    EXPECT_THAT(csv, StartsWith("file,persons,all_left_s,p50_s,p90_s,significant_regions,fault\n" +
                                folder + "a.3dl,4,20.000,14.000,20.000,0,\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6);

    const TRun merged = Run({"--merge", table});
    EXPECT_EQ(merged.ExitCode, 1);
    EXPECT_THAT(merged.Out, testing::EndsWith(figures));

    const TRun unwritten =
        Run({"--summary", (runs / "a.3dl").string(), "--csv", (Dir / "no" / "t.csv").string()});
    EXPECT_EQ(unwritten.ExitCode, 1);
    EXPECT_THAT(unwritten.Err, HasSubstr("t.csv was not written: "));
    EXPECT_FALSE(std::filesystem::exists(Dir / "no"));

    std::ofstream(File, std::ios::binary) << "Notes of the runs of Tuesday\n";
    const TRun check = Run({"--check", File});
    EXPECT_EQ(check.ExitCode, 1);
    EXPECT_EQ(check.Out, File + ": no project header\n" + File + ": 1 fault\n");
}

// Two persons at two steps a second with an offset of 30 s; the second leaves at step 6.
TEST_F(HeadlessMode, CurvePrintsACsvRowPerSecond) {
    const TRun run = Run({"--curve", File});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "time,saved,\"Deck \"\"A\"\"\tB\xe9\"\n30,0,2\n31,0,2\n32,1,1\n33,2,0\n");
    EXPECT_EQ(run.Err, VersionWarning);
    EXPECT_EQ(Run({"--curve", (Dir / "missing.3dl").string()}).ExitCode, 1);
    // Thirteen bytes of moves ask for 68 years at one step a second: refused, not allocated.
    std::ofstream(File, std::ios::binary) << FloorProject(2, 1, 0, {{0, 0, "P2147483646x0 S"}});
    const TRun endless = Run({"--curve", File});
    EXPECT_EQ(endless.ExitCode, 1);
    EXPECT_EQ(endless.Out, "");
    EXPECT_EQ(endless.Err, File +
                               ": The evacuation curve of this file would span 2147483647 seconds; "
                               "it can be made for at most 8388607.\n");
}

// Two steps a second from 30 s, two decks. Two persons leave by a door of two cells in row 0 of
// deck 0 at steps 1 and 3; two go down from a stair of two cells in row 3 of deck 1, arriving at
// steps 1 and 4, and leave where they arrive.
TEST_F(HeadlessMode, FlowsPrintsARowPerExitAndStair) {
    std::ofstream(File, std::ios::binary)
        << "<header>\nversion 1\npmax 4\nxmax 6\nymax 4\nzmax 2\nvmax 2\ntoff 30\n</header>\n"
           "<persons>\n<startpositions>\n1 1 0 1 0\n2 0 0 1 0\n4 3 1 1 0\n5 3 1 1 0\n"
           "(movement)\n1 0 S\nS\nD0 7 S\nP3x0 D1 S\n</persons>\n";
    const std::string header = "kind,deck,x0,y0,x1,y1,total,first,last,peak_per_s,width_m,"
                               "peak_per_m_s";
    const TRun run = Run({"--flows", File});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, File + ": 4 of 4 persons leave by an exit, 0 from a cell off every deck's "
                              "grid (counted at no exit)\n");
    EXPECT_EQ(run.Out, header + "\n"
                                "exit,0,1,0,2,0,2,30.500,31.500,1,0.800,1.25\n"
                                "exit,0,5,2,5,2,1,32.500,32.500,1,0.400,2.50\n"
                                "exit,0,3,3,3,3,1,31.500,31.500,1,0.400,2.50\n"
                                "stair,1,4,3,5,3,2,30.500,32.000,1,0.800,1.25\n");

    const TRun perSecond = Run({"--flows", File, "--cell-size", "0.5", "--per-second"});
    EXPECT_EQ(perSecond.ExitCode, 0);
    EXPECT_EQ(perSecond.Out, header + ",per_second\n"
                                      "exit,0,1,0,2,0,2,30.500,31.500,1,1.000,1.00,30:1;31:1\n"
                                      "exit,0,5,2,5,2,1,32.500,32.500,1,0.500,2.00,32:1\n"
                                      "exit,0,3,3,3,3,1,31.500,31.500,1,0.500,2.00,31:1\n"
                                      "stair,1,4,3,5,3,2,30.500,32.000,1,1.000,1.00,30:1;32:1\n");

    // The load's warnings go to stderr, as in the other modes.
    std::ofstream(File, std::ios::binary) << SmallFile;
    const TRun warned = Run({"--flows", File});
    EXPECT_EQ(warned.ExitCode, 0);
    EXPECT_EQ(warned.Err, VersionWarning + File +
                              ": 2 of 2 persons leave by an exit, 0 from a cell off every deck's "
                              "grid (counted at no exit)\n");
    EXPECT_EQ(warned.Out, header + "\nexit,0,2,0,2,1,2,31.500,33.000,1,0.800,1.25\n");

    // A person whose last cell lies off the grid leaves at no exit, and is counted.
    std::ofstream(File, std::ios::binary) << FigureTieInputs::Doors();
    const TRun offTheGrid = Run({"--flows", File});
    EXPECT_EQ(offTheGrid.ExitCode, 0);
    EXPECT_THAT(offTheGrid.Err, testing::EndsWith(File + ": 20 of 21 persons leave by an exit, 1 "
                                                         "from a cell off every deck's grid "
                                                         "(counted at no exit)\n"));
}

// Each stairwell of the ferry, an area of 4 x 3 coloured cells on the decks it joins, is one stair
// in --flows, whichever of its cells persons started down from. The stairwells as the generator
// lays them out, by deck and upper left cell; the deck numbered as --deck numbers it, which its
// refusal of an unknown caption lists beside the captions.
TEST_F(HeadlessMode, EachStairwellOfTheFerryIsOneStairOnTheDeckThatDeckNumberNames) {
    const std::string ferry = std::string(AMBLA_SAMPLES_DIR) + "/ferry.3dl";
    const std::vector<std::array<int, 3>> stairwells{{0, 17, 16},  {0, 47, 21}, {0, 77, 16},
                                                     {0, 137, 16}, {1, 17, 16}, {1, 77, 16},
                                                     {1, 107, 21}, {1, 137, 16}};
    const TRun run = Run({"--flows", ferry});
    ASSERT_EQ(run.ExitCode, 0);
    std::map<std::array<int, 3>, int> stairsIn;
    std::istringstream rows(run.Out);
    for (std::string row; std::getline(rows, row);) {
        int deck = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (std::sscanf(row.c_str(), "stair,%d,%d,%d,%d,%d,", &deck, &x0, &y0, &x1, &y1) != 5) {
            continue;
        }
        const auto well = std::ranges::find_if(stairwells, [&](const std::array<int, 3>& w) {
            return w[0] == deck && w[1] <= x0 && x1 <= w[1] + 3 && w[2] <= y0 && y1 <= w[2] + 2;
        });
        ASSERT_NE(well, stairwells.end()) << row << " lies in no stairwell";
        ++stairsIn[*well];
    }
    for (const auto& [well, stairs] : stairsIn) {
        EXPECT_EQ(stairs, 1) << "deck " << well[0] << " cell " << well[1] << ", " << well[2];
    }
    EXPECT_EQ(stairsIn.count({0, 17, 16}), 1U);

    const TRun decks = Run({"--render", ferry, "--deck", "no such deck", "--out", "frames"});
    EXPECT_THAT(decks.Err, testing::HasSubstr("0 \"Deck 1 - Car deck\", 1 \"Deck 2 - Cabins\""));
}

// Each figure on a tie at its last decimal as the reports print it: rounded half up from its
// exact value. Times carry the file's offset (first, last, peak_time), durations do not.
TEST_F(HeadlessMode, FiguresOnATieAtTheirLastDecimalAreRoundedHalfUp) {
    for (const TFigureTie& tie : FigureTies()) {
        SCOPED_TRACE(tie.Figure);
        std::ofstream(File, std::ios::binary) << tie.Input;
        std::vector<std::string> args = {tie.Mode, File};
        if (tie.Mode != "--merge") {
            const std::vector<std::string> options = AnalysisOptions(tie.Settings);
            args.insert(args.end(), options.begin(), options.end());
        }
        if (tie.Mode == "--flows") {
            args.push_back("--per-second");
        }
        const TRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_THAT(run.Out, HasSubstr("\n" + tie.Line + "\n"));
    }
}

// One table that cannot be read beside a good one: named on stderr with the reason, the figures
// of the good one printed, and the exit code 1.
TEST_F(HeadlessMode, MergeWithATableThatCannotBeReadFails) {
    const std::string good = (Dir / "good.csv").string();
    std::ofstream(good, std::ios::binary) << FigureTieInputs::TwoRuns;
    const std::string folder = Dir.string();
    const std::string missing = (Dir / "missing.csv").string();
    const TRun alone = Run({"--merge", good});
    EXPECT_EQ(alone.ExitCode, 0);
    for (const std::string& bad : {folder, missing}) {
        const TRun run = Run({"--merge", good, bad});
        EXPECT_EQ(run.ExitCode, 1) << bad;
        EXPECT_EQ(run.Out, alone.Out);
        EXPECT_THAT(run.Err, StartsWith(bad + ": cannot be read: "));
    }
}

// The 95 % line over 19, 20 and 21 runs, the two greatest equal: with fewer than 20 no rank
// has 95 % of the values before it; from 20 on, the rank. Each line names the first file with its
// time.
TEST_F(HeadlessMode, TheNinetyFifthValueIsRankedFromTwentyRunsOn) {
    for (const int runs : {19, 20, 21}) {
        std::string table = "file,persons,all_left_s,p50_s,p90_s,significant_regions,fault\n";
        for (int k = 0; k < runs; ++k) {
            const bool greatest = k == 4 || k == runs - 2;
            table += "run" + std::to_string(k) + ".3dl,1," + (greatest ? "200.000" : "100.000") +
                     ",1.000,1.000,0,\n";
        }
        std::ofstream(File, std::ios::binary) << table;
        const TRun run = Run({"--merge", File});
        EXPECT_EQ(run.ExitCode, 0);
        const std::string rank =
            runs < 20 ? "(the greatest: with fewer than 20 runs none is higher than 95 % of them)"
                      : "(rank " + std::to_string(runs) + " of " + std::to_string(runs) + ")";
        EXPECT_THAT(run.Out, HasSubstr("  95 %           200.000 s  run4.3dl  " + rank + "\n" +
                                       "  greatest       200.000 s  run4.3dl\n"))
            << runs << " runs";
    }
}

// Its figures are the congestion analysis's own; here the frame around them.
TEST_F(HeadlessMode, CongestionPrintsItsHeaderAndARowPerRegion) {
    const TRun run = Run({"--congestion", File, "--density", "0.5", "--window", "0.4"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_THAT(run.Out, StartsWith("deck,x0,y0,x1,y1,area_m2,first,last,longest,total,"
                                    "peak_density,significant,peak_time\n"));
    EXPECT_THAT(run.Err, StartsWith(VersionWarning));
}

// The analyses refuse what the evacuation curve refuses, and a file that cannot be loaded.
TEST_F(HeadlessMode, AnalysesOfAFileThatCannotBeLoadedOrIsTooLongFail) {
    const std::string missing = (Dir / "missing.3dl").string();
    std::ofstream(File, std::ios::binary) << FloorProject(2, 1, 0, {{0, 0, "P2147483646x0 S"}});
    for (const std::string mode : {"--congestion", "--flows"}) {
        const TRun unloaded = Run({mode, missing});
        EXPECT_EQ(unloaded.ExitCode, 1) << mode;
        EXPECT_EQ(unloaded.Out, "") << mode;
        EXPECT_EQ(unloaded.Err, "Error: Cannot open file:\n" + missing + "\n");

        const TRun endless = Run({mode, File});
        EXPECT_EQ(endless.ExitCode, 1) << mode;
        EXPECT_EQ(endless.Out, "") << mode;
        EXPECT_EQ(endless.Err,
                  File + ": The evacuation curve of this file would span 2147483647 seconds; it "
                         "can be made for at most 8388607.\n");
    }
}

// A row per time step, with the deck and cell as the file counts them, and the file's time.
TEST_F(HeadlessMode, PersonPrintsItsTrackAsCsvAStepARow) {
    // The load's warnings go to stderr, as in the other modes.
    const TRun standing = Run({"--person", "2", File});
    EXPECT_EQ(standing.ExitCode, 0);
    EXPECT_EQ(standing.Err, VersionWarning);
    EXPECT_THAT(standing.Out, StartsWith("step,time,deck,x,y,direction\n0,30.000,0,2,1,\n"
                                         "1,30.500,0,2,1,0\n"));
    EXPECT_THAT(standing.Out, ::testing::EndsWith("\n5,32.500,0,2,1,0\n"));

    // Three steps a second from -1 s. The second person walks north-east, stands, goes a deck up
    // on an entry that is no direction, then a deck down to the south.
    const std::string decks = (Dir / "decks.3dl").string();
    std::ofstream(decks, std::ios::binary)
        << "<header>\nversion 1\npmax 2\nxmax 4\nymax 3\nzmax 2\nvmax 3\ntoff -1\n</header>\n"
           "<persons>\n<startpositions>\n0 0 0 1 0\n1 2 0 1 0\n(movement)\nS\n2 P2x0 U9 D5 S\n"
           "</persons>\n";
    const TRun run = Run({"--person", "2", decks});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "step,time,deck,x,y,direction\n0,-1.000,0,1,2,\n1,-0.667,0,2,1,2\n"
                       "2,-0.333,0,2,1,0\n3,0.000,0,2,1,0\n4,0.333,1,2,1,9\n5,0.667,0,2,2,5\n");
    EXPECT_EQ(Run({"--person", "1", decks}).Out, "step,time,deck,x,y,direction\n0,-1.000,0,0,0,\n");

    const TRun beyond = Run({"--person", "3", decks});
    EXPECT_EQ(beyond.ExitCode, 1);
    EXPECT_EQ(beyond.Out, "");
    EXPECT_EQ(beyond.Err, "ambla-viewer --person 3: the file has 2 persons, 1 to 2\n");
    EXPECT_EQ(Run({"--person", "1", (Dir / "missing.3dl").string()}).ExitCode, 1);

    // A file cut before the third person: the header's persons count, the third without a start.
    std::ofstream(decks, std::ios::binary)
        << "<header>\nversion 1\npmax 3\nxmax 4\nymax 3\nzmax 2\nvmax 3\ntoff -1\n</header>\n"
           "<persons>\n<startpositions>\n0 0 0 1 0\n1 2 0 1 0\n";
    const TRun cut = Run({"--person", "3", decks});
    EXPECT_EQ(cut.ExitCode, 0);
    EXPECT_EQ(cut.Out, "step,time,deck,x,y,direction\n0,-1.000,-1,-1,-1,\n");
    EXPECT_THAT(Run({"--person", "4", decks}).Err,
                ::testing::EndsWith("ambla-viewer --person 4: the file has 3 persons, 1 to 3\n"));

    // Rows are written as they are made: a long stand takes no more memory than a short one.
    std::ofstream(decks, std::ios::binary) << FloorProject(2, 1, 0, {{0, 0, "P2000000x0 S"}});
    std::ofstream(File, std::ios::binary) << FloorProject(2, 1, 0, {{0, 0, "P2x0 S"}});
    EXPECT_LT(PeakKilobytes({"--person", "1", decks}),
              PeakKilobytes({"--person", "1", File}) + 20 * 1024);
}

TEST_F(HeadlessMode, DumpListsTheBoxesTheWindowShowsAndWhatWasHeldBack) {
    const std::string flooded = (Dir / "flooded.3dl").string();
    const std::string clean = Header(1, 2, 1, 1) + "<deck>\nlevel 0\n(celldata)\nP2x0\n</deck>\n";
    std::ofstream(flooded, std::ios::binary) << FloodedLog(clean, 200);
    const TRun run = Run({"--dump", flooded});
    EXPECT_EQ(run.ExitCode, 0);
    const std::string shown = Between(run.Out, "\"warnings\":[", "],\"heldBackWarnings\":[");
    std::size_t boxes = 0;
    for (std::size_t at = shown.find("\"title\""); at != std::string::npos;
         at = shown.find("\"title\"", at + 1)) {
        ++boxes;
    }
    EXPECT_EQ(boxes, 11U);
    EXPECT_THAT(shown, ::testing::EndsWith("ambla-viewer --dump " + flooded + "\"}"));
    EXPECT_THAT(run.Err, ::testing::EndsWith("ambla-viewer --dump " + flooded + "\n"));
    EXPECT_THAT(run.Out, HasSubstr("{\"title\":\"Warning\",\"text\":\"There are no people in "
                                   "this project!\",\"count\":200}"));
}

TEST_F(HeadlessMode, HelpAndVersionGoToStdoutAndSucceed) {
    for (const char* help : {"--help", "-h"}) {
        const TRun run = Run({help});
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_THAT(run.Out, StartsWith("Usage:"));
        EXPECT_THAT(run.Out, HasSubstr("--version"));
        EXPECT_EQ(run.Err, "");
    }
    const TRun version = Run({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "ambla-viewer 0.1.0\n");

    // Before the first step the time is shown without the offset, as the window shows it.
    EXPECT_THAT(Run({"--dump", File}).Out, HasSubstr("\"timeText\":\"Time: 0:00 min\""));
}

// A report that cannot be written is no success: a CI job must not take an empty file for one.
TEST_F(HeadlessMode, AReportThatCannotBeWrittenFailsWithTheReason) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--stats", File},
                                               {"--dump", File},
                                               {"--check", File},
                                               {"--curve", File},
                                               {"--congestion", File},
                                               {"--flows", File},
                                               {"--summary", File},
                                               {"--person", "1", File},
                                               {"--version"}}) {
        SCOPED_TRACE(args.front());
        const TRun run = RunProgram(Dir, args, {}, "/dev/full");
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_THAT(run.Err, HasSubstr("ambla-viewer: the output could not be written: No space "
                                       "left on device"));
    }
}

// Memory follows what a file holds: headers that announce huge grids, many decks or many persons,
// with next to no data, take about what a small log takes.
TEST_F(HeadlessMode, AFewBytesOfHeaderTakeNoMoreMemoryThanASmallLog) {
    const std::vector<std::string> tiny = TinyLogsWithHugeHeaders();
    const std::string small = AMBLA_SAMPLES_DIR "/small.3dl";
    constexpr long Allowance = 20 * 1024; // kilobytes
    for (const std::string mode :
         {"--check", "--curve", "--flows", "--congestion", "--stats", "--dump"}) {
        const long baseline = PeakKilobytes({mode, small});
        for (std::size_t i = 0; i < tiny.size(); ++i) {
            if (mode == "--dump" && i == TinyLogOfManyPersons) {
                continue; // it prints a record for each announced person
            }
            SCOPED_TRACE(mode + " on " + tiny[i]);
            const std::string file = (Dir / ("tiny" + std::to_string(i) + ".3dl")).string();
            std::ofstream(file, std::ios::binary) << tiny[i];
            EXPECT_LT(PeakKilobytes({mode, file}), baseline + Allowance);
        }
    }
}

// The window without any display says so in one line and fails, instead of aborting; an option
// after its FILE is a mistake in the arguments, found before any display is asked for.
TEST_F(HeadlessMode, TheWindowWithoutADisplayOrWithAnOptionAfterItsFileFails) {
    const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    const TRun windowless = Run({File}, noDisplay);
    EXPECT_EQ(windowless.ExitCode, 1);
    EXPECT_EQ(windowless.Err, "ambla-viewer: no display to open the window on (DISPLAY is not "
                              "set); the modes of --help need none\n");
    const TRun unreachable = Run({File}, "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4711");
    EXPECT_EQ(unreachable.ExitCode, 1);
    EXPECT_EQ(unreachable.Err, "ambla-viewer: no display to open the window on (DISPLAY=:4711 "
                               "cannot be reached); the modes of --help need none\n");

    const TRun late = Run({File, "--stats"}, noDisplay);
    EXPECT_EQ(late.ExitCode, 2);
    EXPECT_EQ(late.Out, "");
    EXPECT_EQ(late.Err, MistakeReport(File +
                                      " --stats: an option after FILE; the window takes "
                                      "FILE alone; a mode comes first: ambla-viewer "
                                      "--stats " +
                                      File));
}

// Each mistake is named, with where to read more, instead of the whole usage.
TEST_F(HeadlessMode, BadArgumentsAreNamedWithAPointerToTheHelp) {
    const std::vector<std::vector<std::string>> cases = {{"--bogus"},
                                                         {"--stats"},
                                                         {"--stats", File, File},
                                                         {"--dump", File, "--steps", "-1"},
                                                         {"--flows", File, "--cell-size", "0"},
                                                         {"--help", File}};
    for (const auto& args : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, MistakeReport(ParseCommandLine(args).Mistake));
    }
    EXPECT_EQ(Run({"--stats"}).Err, "ambla-viewer: --stats: missing FILE; expected the 3D log file "
                                    "after it\nTry 'ambla-viewer --help' for more information.\n");
}
