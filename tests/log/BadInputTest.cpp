// Damaged and hostile log files: every fault is told once, precisely, and the read goes on.

#include "LogTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::string EndsEarly(const std::string& section) {
    return WarningBox("The file ends early, inside the " + section +
                      ".\nEverything read up to there is kept.");
}

} // namespace

TEST(BadInput, BadHeaderValuesAreSkippedAndKeepTheEarlierValue) {
    TLoadedProject loaded("<header>\npmax 1\npmax 08\nxmax 2\nxmax 12abc\nymax 1\n"
                          "ymax 99999999999\nzmax 1\nzmax 0x\nvmax 1\nvmax -\ntoff 2147483647\n"
                          "vmax " +
                          std::string(300, '1') + "\ntoff \x01\x7f\nzmax 0x1g\n</header>\n");
    EXPECT_THAT(Describe(loaded.Project), ::testing::StartsWith("header 1 2 1 1 1 2147483647\n"));
    EXPECT_THAT(loaded.Boxes(),
                ElementsAre(NotANumber(3, "08"), NotANumber(5, "12abc"),
                            NotANumber(7, "99999999999"), NotANumber(9, "0x"), NotANumber(11, "-"),
                            NotANumber(13, std::string(40, '1') + "..."), NotANumber(14, "??"),
                            NotANumber(15, "0x1g")));
}

TEST(BadInput, BadRunCountsSkipTheRunAndLongRunsAreCutAtTheRowEnd) {
    TLoadedProject loaded(Header(1, 4, 2, 1) + "<deck>\nlevel 0\n(celldata)\n" +
                          "Pax0 P-3x1 P2x0 0 0\nP5x1\n</deck>\n");
    EXPECT_THAT(loaded.Boxes(),
                ElementsAre(NotANumber(12, "a"), NotANumber(12, "-3"),
                            WarningBox("Line 13: a run of cells reaches past the end of row 1. "
                                       "The cells beyond the row are dropped.")));
    EXPECT_THAT(Describe(loaded.Project), HasSubstr("8 cells 7 quads 0000/1111\n"));
}

TEST(BadInput, DeckSectionsThatNameNoDeckAreDropped) {
    for (const std::string level : {"", "level -1\n", "level 2\n", "level x\n"}) {
        TLoadedProject loaded(Header(1, 2, 1, 2) + "<deck>\ncaption Lost\n" + level +
                              "(celldata)\nP2x1\n</deck>\n");
        std::vector<std::string> boxes = {DeckIndexBox};
        if (level == "level x\n") {
            boxes.insert(boxes.begin(), NotANumber(11, "x"));
        }
        EXPECT_EQ(loaded.Boxes(), boxes);
        EXPECT_THAT(Describe(loaded.Project),
                    HasSubstr("deck \"\" 0 cells 0 quads ..\ndeck \"\" 0 cells 0 quads ..\n"));
    }
}

TEST(BadInput, BadPersonDataIsSkippedAndAMissingDigitBeforeSEndsTheList) {
    TLoadedProject loaded(Header(4, 2, 2, 1) + "<persons>\n<startpositions>\n0 0 0 1 5\n" +
                          "1 x 0 1 0x\n1 1 0 2 -1 1 0 0 3 0\n(movement)\n3 X P-3x0 P2x5 U S\n" +
                          "D S\nP1xS\nP1 2\nx7 S\n</persons>\n");
    EXPECT_THAT(loaded.Boxes(),
                ElementsAre(NotANumber(12, "x"), NotANumber(12, "0x"), NotANumber(15, "X"),
                            NotANumber(15, "-3"), NotANumber(15, "S"), NotANumber(16, "S"),
                            NotANumber(17, "S")));
    EXPECT_THAT(Describe(loaded.Project),
                HasSubstr("person 0 0 0 1 5: 3 5 5\nperson -1 -1 -1 0 -1:\nperson 1 1 0 2 -1:\n"
                          "person 1 0 0 3 0: 7 7 7 7 7 7 7 7 7 7 7 7\n"));
}

TEST(BadInput, MovementBeforeAllStartRecordsIsToldAndRead) {
    TLoadedProject loaded(Header(2, 2, 2, 1) + "<persons>\n<startpositions>\n0 0 0 1 5\n" +
                          "(movement)\n3 S 7 7 S\n</persons>\n");
    EXPECT_EQ(loaded.Boxes(),
              std::vector{WarningBox("Line 12: the start positions end after 1 of 2 persons.")});
    EXPECT_THAT(Describe(loaded.Project),
                HasSubstr("person 0 0 0 1 5: 3\nperson -1 -1 -1 0 -1: 7 7\n"));
}

TEST(BadInput, OnlyTheFirstTenDataFaultsAreShownOneByOne) {
    std::string text = "<header>\n";
    std::vector<std::string> boxes;
    for (int i = 0; i < 12; ++i) {
        text += "pmax q" + std::to_string(i) + "\n";
        boxes.push_back(NotANumber(i + 2, "q" + std::to_string(i)));
    }
    boxes.resize(10);
    boxes.push_back(MoreWarningsBox);
    TLoadedProject loaded(text + "pmax 1 xmax 3 ymax 1 zmax 1 vmax 1\n</header>\n" +
                          "<deck> level 0 (celldata) P9x0 </deck>");
    EXPECT_EQ(loaded.Boxes(), boxes);
    // Past ten, the faults are not even put into words: only that there are more is kept.
    ASSERT_EQ(loaded.Reports.LoadHeldBack().size(), 1U);
    EXPECT_EQ(loaded.Reports.LoadHeldBack()[0].Text,
              "The file holds more errors of this kind. They are not shown one by one.");
    EXPECT_EQ(loaded.Project.Decks[0].CellCount, 3);
}

// However damaged the file, one load shows each box once and at most ten, then a summary; the
// rest is held back with its count and the project is read as without the damage.
TEST(BadInput, AFloodOfBoxesIsCutToTenAndASummary) {
    const std::string clean = Header(1, 2, 1, 1) + "<deck>\nlevel 0\n(celldata)\nP2x0\n</deck>\n" +
                              "<persons>\n<startpositions>\n0 0 0 1 0\n(movement)\n3 S\n" +
                              "</persons>\n";
    TLoadedProject loaded(FloodedLog(clean, 300));
    const std::vector<std::string> boxes = loaded.Boxes();
    ASSERT_EQ(boxes.size(), 11U);
    EXPECT_EQ(boxes.back(), MoreWarningsBox);
    EXPECT_EQ(std::set<std::string>(boxes.begin(), boxes.end()).size(), 11U) << "no box twice";
    EXPECT_EQ(Describe(loaded.Project), Describe(TLoadedProject(clean).Project));

    std::map<std::string, std::int64_t> heldBack;
    for (const THeldBackBox& box : loaded.Reports.LoadHeldBack()) {
        heldBack[box.Title + ": " + box.Text] = box.Count;
    }
    EXPECT_EQ(heldBack["Warning: There are no people in this project!"], 300);
    EXPECT_EQ(heldBack["Warning!: Warning, z in TLogFile1::LoadCellData(FILE *projectfile, int z) "
                       "is <0 or >ZMax!"],
              300);
    EXPECT_EQ(heldBack.size(), 7U)
        << "five repeated texts and the two bad numbers past the tenth box";
}

// The same rules for the boxes of a replay; a question is never answered for the user.
TEST(BadInput, BoxCapLetsQuestionsThroughAndSummarisesOnce) {
    TRecordingUiServices ui;
    TBoxCap cap("More.");
    for (int i = 0; i < 14; ++i) {
        cap.Pass(ui, "Error", "Fault " + std::to_string(i % 12), TMsgIcon::Error, TMsgButtons::Ok);
    }
    ui.Answers = {TMsgResult::Cancel, TMsgResult::Cancel};
    EXPECT_EQ(cap.Pass(ui, "Warning", "Overwrite?", TMsgIcon::Exclamation, TMsgButtons::OkCancel),
              TMsgResult::Cancel);
    EXPECT_EQ(cap.Pass(ui, "Warning", "Overwrite?", TMsgIcon::Exclamation, TMsgButtons::OkCancel),
              TMsgResult::Cancel);
    ASSERT_EQ(ui.Messages.size(), 13U);
    EXPECT_EQ(ui.Messages[9].Text, "Fault 9");
    EXPECT_EQ(ui.Messages[10].Text, "More.");
    EXPECT_EQ(ui.Messages[12].Text, "Overwrite?");
    ASSERT_EQ(cap.HeldBack().size(), 4U); // faults 10 and 11, then the repeats of 0 and 1
    EXPECT_EQ(cap.HeldBack()[0].Text, "Fault 10");
    EXPECT_EQ(cap.HeldBack()[3].Count, 1);
}

TEST(BadInput, NegativeDeckLengthReadsNoCells) {
    TLoadedProject loaded("<header> pmax 1 xmax -3 ymax 2 zmax 1 vmax 1 </header>\n"
                          "<deck> level 0 caption Odd\n(celldata) </deck>\n");
    EXPECT_EQ(loaded.Boxes(), std::vector{WarningBox("One of the main dimensions is <= 0!")});
    EXPECT_EQ(Describe(loaded.Project), "header 1 -3 2 1 1 0\ndeck \"Odd\" 0 cells 0 quads \n"
                                        "person -1 -1 -1 0 -1:\n");
}

// The read stops at the end, keeps what it has read, builds the quad lists and warns once.
TEST(BadInput, EndOfFileInsideASection) {
    const std::string h = Header(1, 2, 2, 1);
    const std::string voidDeck = "deck \"\" 0 cells 0 quads ../..\n";
    const std::string nobody = "person -1 -1 -1 0 -1:\n";
    const struct {
        std::string Text, Section, Project;
    } cases[] = {
        {"<header>\npmax 1\nxmax 2\nymax 2\nzmax 1\nvmax", "header",
         "header 1 2 2 1 0 0\n" + voidDeck + nobody},
        {h + "<deck>\nlevel 0\ncaption", "deck section",
         "header 1 2 2 1 1 0\ndeck \"END\" 0 cells 0 quads ../..\n" + nobody},
        {h + "<deck>\ncaption Top\nlevel", "deck section",
         "header 1 2 2 1 1 0\n" + voidDeck + nobody},
        {h + "<deck>\ncaption Top\nlevel 0\n(celldata)\n0 1\n0", "cell data",
         "header 1 2 2 1 1 0\ndeck \"Top\" 3 cells 7 quads 01/0.\n" + nobody},
        {h + "<deck>\nlevel 0\n(celldata)\nP2", "cell data",
         "header 1 2 2 1 1 0\n" + voidDeck + nobody},
        {h + "<persons>\n", "persons section", "header 1 2 2 1 1 0\n" + voidDeck + nobody},
        {h + "<persons>\n<startpositions>\n0 0 0 1", "start positions",
         "header 1 2 2 1 1 0\n" + voidDeck + nobody},
        {h + "<persons>\n(movement)\n3 P2x", "movement data",
         "header 1 2 2 1 1 0\n" + voidDeck + "person -1 -1 -1 0 -1: 3\n"},
    };
    for (const auto& c : cases) {
        TLoadedProject loaded;
        EXPECT_TRUE(loaded.Load(c.Text));
        EXPECT_EQ(loaded.Boxes(), std::vector{EndsEarly(c.Section)}) << c.Text;
        EXPECT_EQ(Describe(loaded.Project), c.Project) << c.Text;
        EXPECT_EQ(loaded.Progress.Infos.back(), "Creating quad-list for Level: 0");
    }
}

// What the header of a 2 x 2 project with one deck and two persons asks for, that with the deck's
// grid, which comes with its cell data, and the two persons, who come with their data; moves come
// on top.
const std::uint64_t HeaderModel = sizeof(TDeck);
const std::uint64_t SmallModel = HeaderModel + 4 * sizeof(TCell);
const std::uint64_t PersonsModel = 2 * sizeof(TPersonData);
const std::string SmallHeader = Header(2, 2, 2, 1);
const std::string SmallDeck = SmallHeader + "<deck>\nlevel 0\n(celldata)\nP2x0\nP2x0\n</deck>\n";
const std::string Moves = SmallHeader + "<persons>\n(movement)\n";

TEST(BadInput, FileThatNeedsTooMuchMemoryIsRefusedAndLeavesTheProjectEmpty) {
    const struct {
        std::string Text;
        std::uint64_t Limit;
    } cases[] = {
        {SmallHeader, HeaderModel - 1},
        {SmallDeck, SmallModel - 1},
        {"<header> pmax 1 xmax 65536 ymax 32768 zmax 1 vmax 1 </header>",
         std::numeric_limits<std::uint64_t>::max()},
        // Lists are held as runs: one byte a single move, two for a short run.
        {Moves + "1 2 1 2 S P4x0 S", HeaderModel + PersonsModel + 5},
        {Moves + "P2147483647x0 P1x1 S S", std::numeric_limits<std::uint64_t>::max()},
        // A later movement block appends to the same persons.
        {Moves + "P2147483647x0 S S (movement) 3 S S", std::numeric_limits<std::uint64_t>::max()},
        {SmallDeck + "<header> pmax 2 xmax 2 ymax 3 zmax 1 vmax 1 </header>\n" +
             "<deck> level 0 (celldata) P2x0 P2x0 P2x0 </deck>",
         SmallModel},
    };
    for (const auto& c : cases) {
        TLoadedProject loaded;
        loaded.Project.MemoryLimit = c.Limit;
        EXPECT_FALSE(loaded.Load(c.Text));
        ASSERT_EQ(loaded.Boxes().size(), 1u) << c.Text;
        EXPECT_THAT(loaded.Boxes()[0],
                    ::testing::StartsWith("Error [x] This file cannot be loaded:"));
        EXPECT_EQ(Describe(loaded.Project), "header 0 0 0 0 0 0\n");
    }
}

TEST(BadInput, ProjectThatFitsIsLoaded) {
    TLoadedProject header;
    header.Project.MemoryLimit = SmallModel;
    EXPECT_TRUE(header.Load(SmallDeck));
    EXPECT_EQ(header.Project.Decks.size(), 1u);

    // Grids the header announces cost nothing until their cell data comes, and then only the
    // rows it gives.
    TLoadedProject announced;
    announced.Project.MemoryLimit = std::uint64_t{1} << 23;
    EXPECT_TRUE(announced.Load("<header> version 1 pmax 1 xmax 46340 ymax 46340 zmax 300 vmax 1 "
                               "</header> <deck> level 2 (celldata) P46340x0 P46340x1"));
    EXPECT_EQ(announced.Project.Decks.size(), 300u);
    EXPECT_EQ(announced.Project.Decks[2].CellCount, 2 * 46340);
    EXPECT_LT(announced.Project.ModelBytes(), std::uint64_t{1} << 23);

    TLoadedProject moves;
    moves.Project.MemoryLimit = HeaderModel + PersonsModel + 100 * sizeof(TMove);
    EXPECT_TRUE(moves.Load(Moves + "0 P2x0 S P20x3 S\n</persons>\n"));
    EXPECT_TRUE(moves.Boxes().empty());
    EXPECT_EQ(moves.Project.Persons[1].MoveCount, 20);

    TLoadedProject tight;
    tight.Project.MemoryLimit = HeaderModel + PersonsModel + 6;
    EXPECT_TRUE(tight.Load(Moves + "1 2 1 2 S P4x0 S"));
    EXPECT_EQ(tight.Project.ModelBytes(), HeaderModel + PersonsModel + 6);

    // Persons the header announces cost nothing until the file describes them.
    TLoadedProject announcedPersons;
    announcedPersons.Project.MemoryLimit = std::uint64_t{1} << 23;
    EXPECT_TRUE(announcedPersons.Load("<header> version 1 pmax 100000000 xmax 4 ymax 4 zmax 1 "
                                      "vmax 1 </header> <persons> <startpositions> 0 0 0 1 0 "
                                      "(movement) 3 S </persons>"));
    // The one described, and the list begun where the file ends.
    EXPECT_EQ(announcedPersons.Project.Persons.size(), 2u);
    EXPECT_EQ(announcedPersons.Project.UndescribedPersons(), 99999998);
    EXPECT_LT(announcedPersons.Project.ModelBytes(), std::uint64_t{1} << 23);
}
