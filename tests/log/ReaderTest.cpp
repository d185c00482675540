// Reading well-formed log files: header values, deck sections, persons, progress and file access.

#include "LogTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Two decks of 4 x 3 cells; the persons section stands between the deck sections.
const std::string TwoDeckFile = "<header>\nversion 1\npmax 2\nxmax 4\nymax 3\nzmax 2\nvmax 4\n"
                                "toff 30\n</header>\n"
                                "<deck>\ncaption   Main deck\nlevel 0\n(celldata)\n"
                                "P3x1 0\n0 0 0 7\nP4x2\n</deck>\n"
                                "<persons>\n<startpositions>\n0 1 0 3 7\n3 2 1 5 -2\n"
                                "(movement)\n3 3 P4x0 U1 D2 S\nS\n</persons>\n"
                                "<deck>\nlevel 1\n(celldata)\n3 4 5 6\nP 4 x 9\nP2x0P2x0\n"
                                "caption Upper\n</deck>\n";

const std::string TwoDeckProject = "header 2 4 3 2 4 30\n"
                                   "deck \"Main deck\" 11 cells 9 quads 1110/000./2222\n"
                                   "deck \"Upper\" 7 cells 4 quads 345./..../0000\n"
                                   "person 0 1 0 3 7: 3 3 0 0 0 0 U1 D2\n"
                                   "person 3 2 1 5 -2:\n";

const std::string NoPeople = WarningBox("There are no people in this project!");
const std::string BadSize = WarningBox("One of the main dimensions is <= 0!");
const std::string NoSpeed = WarningBox("The maximum speed of the population is <= 0!");
const std::string Version =
    WarningBox("The loaded file is not of version 1.\nThis can result in errors!");

} // namespace

TEST(Reader, TwoDeckFileFillsHeaderDecksAndPersons) {
    TLoadedProject loaded;
    ASSERT_TRUE(loaded.Load(TwoDeckFile));
    EXPECT_THAT(loaded.Boxes(), IsEmpty());
    EXPECT_EQ(Describe(loaded.Project), TwoDeckProject);
    EXPECT_EQ(loaded.Project.GetDeckCaption(1), "Upper");
    EXPECT_EQ(loaded.Project.GetDeckCaption(-1), "error");
    EXPECT_EQ(loaded.Project.GetDeckCaption(2), "error");
    const TPersonData& first = loaded.Project.Persons[0];
    EXPECT_EQ(first.X(), -1.5f);
    EXPECT_EQ(first.Y(), -0.5f);
    EXPECT_EQ(first.Level, 0);
    EXPECT_EQ(first.Heading, 3);
}

TEST(Reader, ProgressTellsEveryPhaseInOrder) {
    TLoadedProject loaded(TwoDeckFile);
    EXPECT_THAT(loaded.Progress.Infos,
                ElementsAre("Loading header...", "Loading Level: Main deck...",
                            "Loading start positions...", "Loading movement data...",
                            "Loading Level: Upper...", "Creating quad-list for Level: 0",
                            "Creating quad-list for Level: 1"));
    EXPECT_GT(loaded.Progress.ShowCalls, 0);
    EXPECT_THAT(loaded.Progress.Bars,
                ::testing::Each(::testing::AllOf(::testing::Ge(0), ::testing::Le(100))));
    EXPECT_GE(loaded.Ui.ProcessMessagesCalls, 7);
}

TEST(Reader, HeaderTakesEveryIntegerNotationAndTheLastOfTwoValues) {
    TLoadedProject loaded("<header> pmax 3 pmax 1 foo 12 xmax 0x3 ymax 02 zmax 0X1 vmax +4 "
                          "toff -5 </header>");
    EXPECT_THAT(loaded.Boxes(), IsEmpty());
    EXPECT_EQ(Describe(loaded.Project), "header 1 3 2 1 4 -5\n"
                                        "deck \"\" 0 cells 0 quads .../...\n"
                                        "person -1 -1 -1 0 -1:\n");
}

TEST(Reader, HeaderWarningsComeInOrder) {
    const struct {
        const char* Text;
        std::vector<std::string> Boxes;
    } cases[] = {
        {"<header> pmax 1 xmax 1 ymax 1 zmax 1 version 2 vmax 1 </header>", {Version}},
        {"<header> pmax 0 xmax 1 ymax 1 zmax 1 vmax 1 </header>", {NoPeople}},
        {"<header> pmax 1 xmax 1 ymax 1 zmax 1 </header>", {NoSpeed}},
        {"<header> pmax 1 xmax 1 ymax -1 zmax 1 vmax 1 </header>", {BadSize}},
        {"<header> version 2 </header>", {Version, NoPeople, BadSize, NoSpeed}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TLoadedProject(c.Text).Boxes(), c.Boxes) << c.Text;
    }
}

TEST(Reader, WithoutDecksTheDeckSectionsAreSkippedWordByWord) {
    TLoadedProject loaded("<header> pmax 1 xmax 2 ymax 1 zmax 0 vmax 1 </header>\n"
                          "<deck> level 0 caption Lost\n(celldata) P2x0 </deck>\n");
    EXPECT_EQ(loaded.Boxes(), std::vector{BadSize});
    EXPECT_TRUE(loaded.Project.Decks.empty());
    EXPECT_THAT(loaded.Progress.Infos, ElementsAre("Loading header..."));
}

TEST(Reader, CaptionIsTheRestOfItsLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"caption   Main deck  \n", "Main deck  "},
        {"caption \tTabbed\n", "\tTabbed"},
        {"caption    \n", ""},
        {"caption\n", ""}, // the next line is read as words: the cell data is still found
        {"caption First\ncaption\n", "First"},
        {"caption First\ncaption Second\n", "Second"},
        {"caption A b\r\n", "A b"},
        {"caption " + std::string(300, 'c') + "\n", std::string(253, 'c')},
    };
    for (const auto& [body, caption] : cases) {
        TLoadedProject loaded(Header(1, 2, 1, 1) + "<deck>\nlevel 0\n" + body +
                              "(celldata)\nP2x0\n</deck>\n");
        EXPECT_EQ(Describe(loaded.Project), "header 1 2 1 1 1 0\ndeck \"" + caption +
                                                "\" 2 cells 1 quads 00\nperson -1 -1 -1 0 -1:\n");
        EXPECT_THAT(loaded.Boxes(), IsEmpty());
    }
}

TEST(Reader, FurtherHeaderStartsTheProjectOver) {
    const std::string first = Header(1, 2, 1, 1) + "<deck>\ncaption Old\nlevel 0\n(celldata)\n" +
                              "P2x1\n</deck>\n<persons>\n<startpositions>\n0 0 0 1 0\n" +
                              "(movement)\n3 S\n</persons>\n";
    EXPECT_EQ(Describe(TLoadedProject(first + Header(1, 2, 1, 1)).Project),
              "header 1 2 1 1 1 0\ndeck \"\" 0 cells 0 quads ..\nperson -1 -1 -1 0 -1:\n");
    TLoadedProject emptied(first + "<header> xmax 2 ymax 1 vmax 1 </header>");
    EXPECT_EQ(Describe(emptied.Project), "header 0 2 1 0 1 0\n");
    EXPECT_EQ(emptied.Boxes(), (std::vector{NoPeople, BadSize}));
}

TEST(Reader, LaterCellDataOfADeckReplacesTheEarlier) {
    TLoadedProject loaded(Header(1, 2, 2, 1) + "<deck>\nlevel 0\n(celldata)\nP2x0 P2x0\n" +
                          "</deck>\n<deck>\nlevel 0\n(celldata)\n1 9 P2x9\n</deck>\n");
    EXPECT_EQ(loaded.Project.Decks[0].CellCount, 1);
    EXPECT_THAT(Describe(loaded.Project), ::testing::HasSubstr("1 cells 6 quads 1./.."));
}

TEST(Reader, FileWithCarriageReturnsReadsLikeMemoryText) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("ambla-reader-" + std::to_string(::getpid()) + ".3dl");
    std::ofstream out(path, std::ios::binary);
    for (const char c : TwoDeckFile) {
        out << (c == '\n' ? "\r\n" : std::string(1, c));
    }
    out.close();
    TLoadedProject fromDisk;
    EXPECT_TRUE(fromDisk.Project.Load(path.string(), fromDisk.Progress));
    std::filesystem::remove(path);
    EXPECT_THAT(fromDisk.Boxes(), IsEmpty());
    EXPECT_EQ(fromDisk.Project.FileName, path.string());
    EXPECT_EQ(Describe(fromDisk.Project), TwoDeckProject);
}

// Move lists are read in a quick way for their usual spellings (four single digits at a time
// where it can) and in a careful way for the rest and where a read chunk ends; where that happens
// must never change what is read.
TEST(Reader, WhereTheReadChunksEndNeverChangesTheMovesOrTheWarnings) {
    const std::string text = Header(2, 3, 3, 1) +
                             "<persons>\n(movement)\n3 3 P4x0 U1 D2 P000000009x5 P0000000012x2 "
                             "P12 x3 P1 2x4 U 5 Dx q P0x3 7 P2x1 12\nP3x8\tU7D8 "
                             "0 0 0 0 0 0 0 0 1 2 3 9 9 9 9 9 4 4 4 4\t4 4 : 1 / 2 5 5 5 5\n"
                             "P2x5 5 5 5 5 S\nS\n</persons>\n";
    TLoadedProject whole(text);
    ASSERT_EQ(whole.Project.Persons[0].MoveCount, 98);
    ASSERT_EQ(whole.Boxes().size(), 4u);
    for (std::size_t step = 1; step <= 40; ++step) {
        TLoadedProject trickled;
        TTrickleSource source(text, step);
        EXPECT_TRUE(trickled.Project.LoadFromSource("test.3dl", source, trickled.Progress));
        EXPECT_EQ(Describe(trickled.Project), Describe(whole.Project)) << "step " << step;
        EXPECT_EQ(trickled.Boxes(), whole.Boxes()) << "step " << step;
    }
}

// Every fault that has a place, as "line:column: text" on one line, as a checker lists them.
class TPlacedFaults final : public IModelReports {
public:
    void Report(const TModelFault& fault) override {
        if (fault.Line > 0) {
            std::string text = fault.Text;
            std::replace(text.begin(), text.end(), '\n', ' ');
            Faults.push_back(std::to_string(fault.Line) + ":" + std::to_string(fault.Column) +
                             ": " + text);
        }
    }
    std::vector<std::string> Faults;
};

// Every fault with the place of its first character, wherever the read chunks end.
TEST(Reader, FaultsArePlacedAtTheirLineAndColumn) {
    const std::string text = "<header>\npmax 1\nxmax 3\nymax 1\nzmax 1\nvmax 0\nversion 2\n"
                             "</header>\n<deck>\nlevel 0\n(celldata)\nP5x0\n</deck>\n<persons>\n"
                             "<startpositions>\n0 0 0 1 q\n(movement)\n3 P1q2x3 Dx\n  # P2x0 S\n"
                             "</persons>\n<deck>\nlevel 7\n(celldata)\n0 0 0\n</deck>\n"
                             "<persons>\n(movement)\n3 3";
    const std::vector<std::string> expected = {
        "7:9: The loaded file is not of version 1. This can result in errors!",
        "8:1: The maximum speed of the population is <= 0!",
        "12:1: a run of cells reaches past the end of row 0. The cells beyond the row are dropped.",
        "16:9: \"q\" is not a valid number. It is skipped.",
        "18:4: \"1q2\" is not a valid number. It is skipped.",
        "18:11: \"x\" is not a valid number. It is skipped.",
        "19:3: \"#\" is not a valid number. It is skipped.",
        "23:1: Warning, z in TLogFile1::LoadCellData(FILE *projectfile, int z) is <0 or >ZMax!",
        "28:4: The file ends early, inside the movement data. Everything read up to there is kept.",
    };
    for (std::size_t step = 1; step <= 41; ++step) {
        TLoadedProject loaded;
        TPlacedFaults placed;
        loaded.Project.ReportTo(placed);
        TTrickleSource source(text, step < 41 ? step : text.size());
        loaded.Project.LoadFromSource("test.3dl", source, loaded.Progress);
        EXPECT_EQ(placed.Faults, expected) << "step " << step;
    }
}

// What a load gives: the project, every fault with its place, and whether it loaded at all.
struct TLoadOutcome {
    std::string Project;
    std::vector<std::string> Faults;
    bool Loaded;
    bool TookListsAhead;
    bool operator==(const TLoadOutcome& other) const {
        return Project == other.Project && Faults == other.Faults && Loaded == other.Loaded;
    }
};

// Hands out a few bytes at a time and can be read twice: the reader's jump over the lists read
// ahead then leaves what it has read of the file behind.
class TSmallReadsSource final : public IByteSource {
public:
    TSmallReadsSource(std::string_view bytes, std::size_t step) : Memory(bytes), Step(step) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
        return Memory.Read(buffer, std::min(capacity, Step));
    }
    std::int64_t Size() const override { return Memory.Size(); }
    std::unique_ptr<IByteSource> ReaderFrom(std::int64_t offset) const override {
        return Memory.ReaderFrom(offset);
    }
    bool SkipTo(std::int64_t offset) override { return Memory.SkipTo(offset); }

private:
    TMemorySource Memory;
    std::size_t Step;
};

// Loads the text in reads of step bytes, or the file at path.
TLoadOutcome LoadReadingAhead(const std::string& text, std::int64_t readAheadFrom,
                              std::uint64_t memoryLimit, std::size_t step,
                              const std::string& path = {}) {
    TRecordingProgress progress;
    TFaultsWithPlaces faults;
    TLogFile project("Level");
    project.ReportTo(faults);
    project.ReadAheadFrom = readAheadFrom;
    if (memoryLimit > 0) {
        project.MemoryLimit = memoryLimit;
    }
    TSmallReadsSource source(text, step);
    const bool loaded = path.empty() ? project.LoadFromSource("test.3dl", source, progress)
                                     : project.Load(path, progress);
    return {Describe(project), faults.Faults, loaded, project.MoveMemoryAhead.UsedBytes() > 0};
}

// A random project whose second half holds what the lists read ahead must leave to the reader:
// a fault in a list, a list with no end, a second movement section for the same persons, a
// run count that is no number.
std::string ProjectWithTroubleLate(std::mt19937& random, int round) {
    std::string text = RandomProject(random, 2, 0, {.FewestPersons = 30, .Persons = 60});
    const std::size_t late = text.rfind(" S\n", text.rfind(" S\n") - 1); // the last list but one
    switch (round % 5) {
    case 1:
        text.insert(late, " q\n 3");
        break;
    case 2:
        text.insert(late, " P99999999999x2");
        break;
    case 3: {
        // Every person's list grows, those taken over as well.
        const int persons = std::stoi(text.substr(text.find("pmax ") + 5));
        std::string more = "(movement)\n";
        for (int p = 0; p < persons; ++p) {
            more += "4 P3x2 S\n";
        }
        text.insert(text.rfind("</persons>"), more);
        break;
    }
    case 4:
        text.erase(text.rfind(" S\n"));
        break;
    default:
        break;
    }
    return text;
}

// Where a movement section is long, its second half is read ahead on a second thread, and the
// reader takes those lists over when it arrives at them. Wherever the halves meet, the project,
// every fault with its place, and a refusal for memory are what reading alone gives.
TEST(Reader, ReadingTheSecondHalfAheadNeverChangesTheProjectOrItsFaults) {
    std::mt19937 random(31);
    int takenOver = 0;
    for (int round = 0; round < 80; ++round) {
        // Blanks at the end move the middle of the section from round to round.
        const std::string text = ProjectWithTroubleLate(random, round) +
                                 std::string(static_cast<std::size_t>(round % 16) * 23, ' ');
        const std::size_t step = 64 + static_cast<std::size_t>(round) * 97;
        const TLoadOutcome alone = LoadReadingAhead(text, -1, 0, step);
        const TLoadOutcome ahead = LoadReadingAhead(text, 0, 0, step);
        EXPECT_EQ(ahead, alone) << "round " << round;
        takenOver += ahead.TookListsAhead ? 1 : 0;
    }
    EXPECT_GT(takenOver, 40);

    // Refused for memory while the lists read ahead are given, or while a later section adds to
    // them: the same refusal.
    for (const int round : {0, 3}) {
        const std::string text = ProjectWithTroubleLate(random, round);
        TLogFile measured("Level");
        TRecordingProgress progress;
        measured.ReadAheadFrom = -1;
        ASSERT_TRUE(measured.LoadFromMemory("test.3dl", text, progress));
        const std::uint64_t needed = measured.ModelBytes();
        for (std::uint64_t less = 1; less < 400; less += 37) {
            EXPECT_EQ(LoadReadingAhead(text, 0, needed - less, 1000),
                      LoadReadingAhead(text, -1, needed - less, 1000))
                << round << ", " << less << " bytes less";
        }
    }
}

// Lists read ahead and taken over in the middle of a line that holds many of them: a fault later
// on that line is placed at its column counted from the line's start, however the file is read.
TEST(Reader, AFaultAfterTheListsReadAheadOnTheirLineIsPlacedAtItsColumn) {
    constexpr int Persons = 400;
    std::string text = "<header>\npmax " + std::to_string(Persons) +
                       "\nxmax 4\nymax 1\nzmax 1\nvmax 1\nversion 1\n</header>\n<persons>\n"
                       "(movement)\n";
    const auto line = std::count(text.begin(), text.end(), '\n') + 1;
    std::string lists;
    for (int p = 0; p < Persons; ++p) {
        lists += p == Persons - 3 ? "1 q S " : "1 S ";
    }
    text += lists + "\n</persons>\n";
    const std::string expected = std::to_string(line) + ":" + std::to_string(lists.find('q') + 1) +
                                 ": \"q\" is not a valid number. It is skipped.";
    for (const std::size_t step : {std::size_t{7}, std::size_t{512}, text.size()}) {
        SCOPED_TRACE(step);
        const TLoadOutcome alone = LoadReadingAhead(text, -1, 0, step);
        const TLoadOutcome ahead = LoadReadingAhead(text, 0, 0, step);
        EXPECT_TRUE(ahead.TookListsAhead);
        EXPECT_THAT(alone.Faults, ::testing::Contains(expected));
        EXPECT_EQ(ahead.Faults, alone.Faults);
    }
}

// From a file the second thread reads the file itself, beside the reader.
TEST(Reader, ReadingAheadInAFileTakesTheListsOverAtTheirPlaceInIt) {
    std::mt19937 random(5);
    const std::string text = ProjectWithTroubleLate(random, 1);
    const auto path = std::filesystem::temp_directory_path() /
                      ("ambla-ahead-" + std::to_string(::getpid()) + ".3dl");
    std::ofstream(path, std::ios::binary) << text;
    const TLoadOutcome ahead = LoadReadingAhead(text, 0, 0, 0, path.string());
    const TLoadOutcome alone = LoadReadingAhead(text, -1, 0, 0, path.string());
    std::filesystem::remove(path);
    EXPECT_TRUE(ahead.TookListsAhead);
    EXPECT_EQ(ahead, alone);
    EXPECT_EQ(ahead, LoadReadingAhead(text, -1, 0, text.size()));
}

TEST(Reader, FileThatCannotBeOpenedLeavesTheProjectEmpty) {
    const std::string device = "It is a device or another special file, not a regular file or a "
                               "pipe.";
    // A missing file is only named; a device, whose reading would never end, is refused at once.
    for (const auto& [path, reason] :
         {std::pair<std::string, std::string>{"/nonexistent/ambla/missing.3dl", ""},
          {"/tmp", "\nIt is a folder, not a file."},
          {"/dev/zero", "\n" + device},
          {"/dev/urandom", "\n" + device}}) {
        TLoadedProject loaded;
        EXPECT_FALSE(loaded.Project.Load(path, loaded.Progress));
        EXPECT_EQ(loaded.Boxes(),
                  std::vector<std::string>{"Error [x] Cannot open file:\n" + path + reason});
        EXPECT_EQ(Describe(loaded.Project), "header 0 0 0 0 0 0\n");
    }
}

TEST(Reader, NamedPipeIsReadToItsEnd) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("ambla-pipe-" + std::to_string(::getpid()) + ".3dl");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(path) << TwoDeckFile; });
    TLoadedProject written;
    EXPECT_TRUE(written.Project.Load(path.string(), written.Progress));
    writer.join();
    std::filesystem::remove(path);
    EXPECT_EQ(Describe(written.Project), TwoDeckProject);
}
