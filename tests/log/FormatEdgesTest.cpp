// The edges of the log format where a faster reader is most likely to go wrong: deck changes
// beside runs of the same direction, run counts and numbers at their longest and largest, the
// header's 32-bit extremes, moves past the first block of their memory, analyses too large for
// all decks together, and a seek straight to the end of a replay.

#include "Congestion.h"
#include "EvacuationAnalysis.h"
#include "LogTestSupport.h"
#include "Replay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sstream>

namespace {

// Loads text whole (step 0), in one chunk where the reader takes its quick way through the move
// lists, or a few bytes at a time, where every entry is read the careful way.
bool LoadInSteps(TLoadedProject& loaded, const std::string& text, std::size_t step) {
    if (step == 0) {
        return loaded.Load(text);
    }
    TTrickleSource source(text, step);
    return loaded.Project.LoadFromSource("test.3dl", source, loaded.Progress);
}

// The quick way stops a little before the end of what was read: blank lines after the last
// section keep every list away from it.
const std::string Tail = std::string(16, '\n');

// Line and column of the character at offset, both from 1.
std::string PlaceIn(const std::string& text, std::size_t offset) {
    const std::size_t lineStart = text.rfind('\n', offset - 1) + 1; // npos + 1 is 0
    const auto line =
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n') + 1;
    return std::to_string(line) + ":" + std::to_string(offset - lineStart + 1);
}

std::string NotANumberAt(const std::string& place, const std::string& shown) {
    return place + ": \"" + shown + "\" is not a valid number. It is skipped.";
}

// A person's place on its deck and the deck it stands on.
struct TPlace {
    float X = 0;
    float Y = 0;
    std::int32_t Level = 0;
    friend bool operator==(const TPlace&, const TPlace&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TPlace& p) {
        return out << "(" << p.X << ", " << p.Y << ", deck " << p.Level << ")";
    }
};

TPlace PlaceOf(const TPersonData& person) {
    return {person.X(), person.Y(), person.Level};
}

// One step in each direction: 1 north (toward row 0), then clockwise to 8; 0 stands.
constexpr int CompassX[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
constexpr int CompassY[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};

// Where a person starting at start stands after each step of a well-formed list spelt as the
// file spells it, worked out here entry by entry.
std::vector<TPlace> PlacesAlong(const std::string& list, TPlace start) {
    std::vector<TPlace> places{start};
    const auto add = [&places](long count, char direction, int levelChange) {
        for (long i = 0; i < count; ++i) {
            TPlace next = places.back();
            next.X += static_cast<float>(CompassX[direction - '0']);
            next.Y += static_cast<float>(CompassY[direction - '0']);
            next.Level += levelChange;
            places.push_back(next);
        }
    };
    for (std::size_t i = 0; i < list.size() && list[i] != 'S';) {
        const char c = list[i];
        if (c == 'P') {
            const std::size_t x = list.find('x', i);
            add(std::stol(list.substr(i + 1, x - i - 1)), list[x + 1], 0);
            i = x + 2;
        } else if (c == 'U' || c == 'D') {
            add(1, list[i + 1], c == 'U' ? 1 : -1);
            i += 2;
        } else {
            if (c != ' ') {
                add(1, c, 0);
            }
            ++i;
        }
    }
    return places;
}

// A loaded project and its replay.
struct TReplayedLog {
    explicit TReplayedLog(const std::string& text) : Loaded(text) {
        Replay.SetProject(&Loaded.Project);
    }
    TLoadedProject Loaded;
    TReplay Replay;
};

} // namespace

// A change of deck is an entry of its own beside a run or a single move of the same direction,
// in either order, also where a later movement block appends to a list; the quick and the
// careful way of reading, steps forwards and backwards and jumps all agree with the list
// spelt out entry by entry.
TEST(FormatEdges, DeckChangesBesideRunsOfTheSameDirectionKeepTheirStep) {
    // Each person's list in the first movement block and in a second one, which appends.
    const std::pair<std::string, std::string> lists[] = {
        {"P3x2 U2 S", "S"},
        {"U2 P3x2 S", "S"},
        {"2 U2 2 S", "S"},
        {"U2 2 2 U2 S", "S"},
        {"4 4 4 D4 4 4 S", "S"},
        {"D4 D4 P200x4 D4 4 S", "S"},
        {"P130x0 U0 P2x0 D0 0 S", "S"},
        {"U1 U1 1 1 D1 D1 P2x1 S", "S"},
        {"P3x5D5P3x5U5 5U5 S", "S"},
        {"P3x2 S", "U2 2 S"},
        {"7 U7 S", "U7 P2x7 S"},
        {"P300x6 S", "D6 S"},
    };
    std::string text = "<header>\npmax " + std::to_string(std::size(lists)) +
                       "\nxmax 9\nymax 9\nzmax 9\nvmax 1\nversion 1\n</header>\n"
                       "<persons>\n<startpositions>\n";
    std::string first = "(movement)\n";
    std::string second = "(movement)\n";
    std::vector<std::vector<TPlace>> expected;
    for (const auto& [firstPart, secondPart] : lists) {
        text += "4 4 4 1 0\n";
        first += firstPart + "\n";
        second += secondPart + "\n";
        expected.push_back(PlacesAlong(firstPart.substr(0, firstPart.size() - 1) + secondPart,
                                       {CellCentreX(4, 9), CellCentreY(4, 9), 4}));
    }
    text += first + second + "</persons>\n" + Tail;

    for (const std::size_t step : std::initializer_list<std::size_t>{0, 1, 2, 5, 12, 13}) {
        SCOPED_TRACE("read " + std::to_string(step) + " bytes at a time");
        TLoadedProject loaded;
        ASSERT_TRUE(LoadInSteps(loaded, text, step));
        ASSERT_THAT(loaded.Boxes(), ::testing::IsEmpty());
        TReplay replay;
        replay.SetProject(&loaded.Project);
        const auto check = [&](const char* how) {
            const auto at = static_cast<std::size_t>(replay.TimeStep());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const TPersonData& person = loaded.Project.Persons[i];
                if (at < expected[i].size()) {
                    ASSERT_EQ(PlaceOf(person), expected[i][at])
                        << how << ", person " << i << " at step " << at;
                } else {
                    ASSERT_EQ(person.Level, -1) << how << ", person " << i << " at step " << at;
                }
            }
        };
        ASSERT_NO_FATAL_FAILURE(check("at the start"));
        while (replay.CanStepForward()) {
            replay.StepForward();
            ASSERT_NO_FATAL_FAILURE(check("forwards"));
        }
        while (replay.TimeStep() > 0) {
            replay.StepBackward();
            ASSERT_NO_FATAL_FAILURE(check("backwards"));
        }
        for (std::int32_t to = replay.EndStep(); to >= 0; --to) {
            replay.SeekToStep(to);
            ASSERT_NO_FATAL_FAILURE(check("by a seek back"));
        }
    }
}

// A run count beyond 2^31 - 1 is a fault at its first digit, and the list reads as without the
// run, its direction included; the entries around it are read the quick way when the read chunk
// is large, the careful way when it is a few bytes.
TEST(FormatEdges, ARunCountAbove31BitsIsAFaultAndTheListReadsAsWithoutTheRun) {
    const std::string before = Header(2, 4, 4, 1) + "<persons>\n(movement)\n1 1 ";
    const std::string after = "x3 U3 4 P2x4 S\n5 S\n</persons>\n" + Tail;
    TLoadedProject without(before + after.substr(after.find(' ') + 1));
    ASSERT_THAT(without.Boxes(), ::testing::IsEmpty());
    ASSERT_THAT(Describe(without.Project), ::testing::HasSubstr(": 1 1 U3 4 4 4\n"));
    for (const std::string& count : std::vector<std::string>{
             "2147483648", "4294967299", "9223372036854775808", std::string(200, '9')}) {
        const std::string text = before + "P" + count + after;
        const std::string fault =
            NotANumberAt(PlaceIn(text, before.size() + 1),
                         count.size() > 40 ? count.substr(0, 40) + "..." : count);
        for (const std::size_t step : std::initializer_list<std::size_t>{0, 1, 4, 12, 13}) {
            SCOPED_TRACE("count " + count + ", read " + std::to_string(step) + " bytes at a time");
            TLoadedProject loaded;
            TFaultsWithPlaces placed;
            loaded.Project.ReportTo(placed);
            ASSERT_TRUE(LoadInSteps(loaded, text, step));
            EXPECT_EQ(placed.Faults, std::vector{fault});
            EXPECT_EQ(Describe(loaded.Project), Describe(without.Project));
        }
    }
}

namespace {

// A number of the given width: its prefix ("", "-", "0x"), zeros, then its digits. Leading zeros
// make a header value octal, which leaves digits below 8 as they are; run counts are decimal.
std::string Padded(const std::string& prefix, const std::string& digits, std::size_t width) {
    return prefix + std::string(width - prefix.size() - digits.size(), '0') + digits;
}

// A project with a number in place of "#": the header's values, a deck's level, a start record,
// a run of cells and a run of moves each name one.
struct TNumberPlace {
    std::string Text;
    std::string Prefix;
    std::string Digits;
    bool RunCount;
};

std::vector<TNumberPlace> NumberPlaces() {
    const std::string head = "<header>\nversion 1\npmax 2\nxmax 3\nymax 2\nzmax 2\nvmax 3\n"
                             "toff 6\n";
    const std::string deck = "<deck>\nlevel 1\n(celldata)\nP3x1\nP2x0 5\n</deck>\n";
    const std::string persons = "<persons>\n<startpositions>\n2 1 1 3 0\n0 0 0 1 0\n"
                                "(movement)\nP12x2 S\n1 S\n</persons>\n" +
                                Tail;
    const auto header = [&](const std::string& line) {
        return head + line + "\n</header>\n" + deck + persons;
    };
    return {
        {header("version #"), "", "1", false},
        {header("version #"), "", "2", false},
        {header("pmax #"), "", "1", false},
        {header("xmax #"), "0x", "4", false},
        {header("ymax #"), "", "1", false},
        {header("zmax #"), "", "3", false},
        {header("vmax #"), "", "7", false},
        {header("toff #"), "-", "5", false},
        {head + "</header>\n<deck>\nlevel 1\nlevel #\n(celldata)\nP3x1\n</deck>\n" + persons, "",
         "0", false},
        {head + "</header>\n" + deck + "<persons>\n<startpositions>\n# 1 1 3 0\n0 0 0 1 0\n" +
             "(movement)\nP12x2 S\n1 S\n</persons>\n" + Tail,
         "", "2", false},
        // Spare cells after the deck's rows take up a run that is skipped.
        {head + "</header>\n<deck>\nlevel 1\n(celldata)\n1 P#x2\nP3x0\n0 0 0\n</deck>\n" + persons,
         "", "2", true},
        {head + "</header>\n" + deck +
             "<persons>\n<startpositions>\n2 1 1 3 0\n0 0 0 1 0\n(movement)\n3 P#x2 U2 S\n1 S\n" +
             "</persons>\n" + Tail,
         "", "12", true},
    };
}

std::string WithNumber(const std::string& text, const std::string& number) {
    std::string filled = text;
    filled.replace(filled.find('#'), 1, number);
    return filled;
}

} // namespace

// Numbers are read up to 255 characters, leading zeros and all; one of 256 is not a number, told
// at its first character, and for a word of its own is dropped as any word that is no number.
TEST(FormatEdges, NumbersOf255CharactersAreReadAndOf256AreRefused) {
    for (const TNumberPlace& place : NumberPlaces()) {
        const std::string shortText = WithNumber(place.Text, place.Prefix + place.Digits);
        const std::string longest = WithNumber(place.Text, Padded(place.Prefix, place.Digits, 255));
        const std::string tooLong = WithNumber(place.Text, Padded(place.Prefix, place.Digits, 256));
        const std::string junk = WithNumber(place.Text, "q");
        SCOPED_TRACE(shortText);
        const TLoadedProject read(shortText);
        for (const std::size_t step : std::initializer_list<std::size_t>{0, 7}) {
            TLoadedProject loaded;
            LoadInSteps(loaded, longest, step);
            EXPECT_EQ(loaded.Boxes(), read.Boxes());
            EXPECT_EQ(Describe(loaded.Project), Describe(read.Project));
        }
        const std::string fault =
            NotANumberAt(PlaceIn(tooLong, place.Text.find('#')),
                         Padded(place.Prefix, place.Digits, 256).substr(0, 40) + "...");
        TLoadedProject refused;
        TFaultsWithPlaces placed;
        refused.Project.ReportTo(placed);
        refused.Load(tooLong);
        ASSERT_FALSE(placed.Faults.empty());
        EXPECT_EQ(placed.Faults[0], fault);
        if (!place.RunCount) {
            TLoadedProject notANumber;
            TFaultsWithPlaces junkFaults;
            notANumber.Project.ReportTo(junkFaults);
            notANumber.Load(junk);
            EXPECT_EQ(placed.Faults.size(), junkFaults.Faults.size());
            EXPECT_EQ(Describe(refused.Project), Describe(notANumber.Project));
        }
    }
}

// A run whose count is too long to be a number goes as a whole, as a run with any other count
// that is no number does.
TEST(FormatEdges, ARunCountOf256CharactersIsSkippedWithItsDirection) {
    for (const TNumberPlace& place : NumberPlaces()) {
        if (!place.RunCount) {
            continue;
        }
        TLoadedProject refused(WithNumber(place.Text, Padded("", place.Digits, 256)));
        TLoadedProject junk(WithNumber(place.Text, "q"));
        EXPECT_EQ(refused.Boxes().size(), junk.Boxes().size());
        EXPECT_EQ(Describe(refused.Project), Describe(junk.Project));
    }
}

namespace {

// What the model makes of a loaded project: the header, its decks and persons, the first of the
// boxes of its load (cut short: refusals name memory sizes), the replay at its last second and a
// step before, and the analyses.
std::string ModelSummary(TLoadedProject& loaded) {
    TLogFile& project = loaded.Project;
    const std::vector<std::string> boxes = loaded.Boxes();
    std::ostringstream out;
    out << boxes.size() << " boxes" << (boxes.empty() ? "" : ", " + boxes[0].substr(0, 40))
        << "; header " << project.PMax << ' ' << project.XMax << ' ' << project.YMax << ' '
        << project.ZMax << ' ' << project.VMax << ' ' << project.TOff << "; "
        << project.Decks.size() << " decks, " << project.Persons.size() << " + "
        << project.UndescribedPersons() << " persons";
    if (!project.HeaderRead) {
        return out.str();
    }
    TReplay replay;
    replay.SetProject(&project);
    replay.SeekToSecond(replay.LastSecond());
    out << "; " << replay.PositionText() << ", " << replay.TimeText() << ", " << replay.SavedText();
    replay.SeekToStep(replay.EndStep());
    if (replay.TimeStep() > 0) {
        replay.StepBackward();
        out << "; back " << replay.TimeStep() << ", " << replay.TimeText() << ", "
            << replay.SavedText();
    }
    if (AnalysisRefusal(project)) {
        out << "; no curve";
    } else {
        out << "; curve of " << AnalyseEvacuation(project).Curve.RowCount();
    }
    if (CongestionRefusal(project)) {
        out << "; no congestion";
    } else {
        out << ", " << AnalyseCongestion(project, {}, 1).Regions.size() << " regions";
    }
    return out.str();
}

} // namespace

// Each header value takes every 32-bit number, in any notation, and nothing beyond; what the model
// then makes of the extremes is what it made so far, without a crash.
TEST(FormatEdges, HeaderValuesTakeThe32BitExtremesAndNothingBeyond) {
    const auto project = [](const std::string& key, const std::string& value) {
        return "<header>\nversion 1\npmax 1\nxmax 3\nymax 2\nzmax 2\nvmax 2\ntoff 5\n" + key + " " +
               value + "\n</header>\n<deck>\nlevel 0\n(celldata)\nP3x0\nP3x0\n</deck>\n" +
               "<persons>\n<startpositions>\n1 1 0 1 0\n(movement)\n3 U1 3 S\n</persons>\n";
    };
    const std::vector<std::string> least = {"-2147483648", "-0x80000000", "-020000000000"};
    const std::vector<std::string> greatest = {"2147483647", "0x7fffffff", "017777777777",
                                               "+2147483647"};
    const std::string beyond[] = {"2147483648",   "-2147483649", "0x80000000", "-0x80000001",
                                  "020000000000", "4294967296",  "-4294967296"};
    // What the model makes of each key at its least and at its greatest.
    const std::string refusedDeck = "1 boxes, Error [x] This file cannot be loaded: a ; header 0 "
                                    "0 0 0 0 0; 0 decks, 0 + 0 persons";
    const std::string asUsual = "2 decks, 1 + 0 persons; 0:07 / 0:07, step 4, Time: 0:07 min, "
                                "Saved: 1; back 3, Time: 0:06 min, Saved: 0; curve of 3, 0 regions";
    const std::string badSize = "1 boxes, Warning [!] One of the main dimensions i; header ";
    const std::pair<std::string, std::vector<std::string>> made[] = {
        {"pmax",
         {"1 boxes, Warning [!] There are no people in this ; header -2147483648 3 2 2 2 5; 2 "
          "decks, 0 + 0 persons; 0:05 / 0:05, step 0, Time: 0:00 min, Saved: 0; curve of 1, 0 "
          "regions",
          // The file describes one person of those announced, and reads on for the next.
          "11 boxes, Warning [!] Line 20: the start positions; header 2147483647 3 2 2 2 5; 2 "
          "decks, 2 + 2147483645 persons; 0:07 / 0:07, step 4, Time: 0:07 min, Saved: "
          "2147483.647; back 3, Time: 0:06 min, Saved: 2147483.646; curve of 3, 0 regions"}},
        {"xmax", {badSize + "1 -2147483648 2 2 2 5; " + asUsual, refusedDeck}},
        {"ymax", {badSize + "1 3 -2147483648 2 2 5; " + asUsual, refusedDeck}},
        {"zmax",
         {badSize + "1 3 2 -2147483648 2 5; 0" + asUsual.substr(1),
          "1 boxes, Error [x] This file cannot be loaded: it; header 0 0 0 0 0 0; 0 decks, 0 + 0 "
          "persons"}},
        {"vmax",
         {"1 boxes, Warning [!] The maximum speed of the pop; header 1 3 2 2 -2147483648 5; 2 "
          "decks, 1 + 0 persons; 0:05 / 0:05, step 0, Time: 0:00 min, Saved: 0; back 3, Time: "
          "0:05 min, Saved: 0; curve of 1, 0 regions",
          "0 boxes; header 1 3 2 2 2147483647 5; 2 decks, 1 + 0 persons; 0:06 / 0:06, step "
          "2147483647, Time: 0:06 min, Saved: 1; back 2147483646, Time: 0:05 min, Saved: 1; curve "
          "of 2, 0 regions"}},
        {"toff",
         {"0 boxes; header 1 3 2 2 2 -2147483648; 2 decks, 1 + 0 persons; -35791394:06 / "
          "-35791394:06, step 4, Time: -35791394:06 min, Saved: 1; back 3, Time: -35791394:06 "
          "min, Saved: 0; curve of 3, 0 regions",
          "0 boxes; header 1 3 2 2 2 2147483647; 2 decks, 1 + 0 persons; 35791394:07 / "
          "35791394:07, step 4, Time: 35791394:07 min, Saved: 1; back 3, Time: 35791394:07 min, "
          "Saved: 0; curve of 3, 0 regions"}},
        {"version",
         std::vector<std::string>(
             2,
             "1 boxes, Warning [!] The loaded file is not of ve; header 1 3 2 2 2 5; " + asUsual)},
    };
    for (const auto& [key, summaries] : made) {
        for (std::size_t extreme = 0; extreme < 2; ++extreme) {
            for (const std::string& value : extreme == 0 ? least : greatest) {
                TLoadedProject loaded;
                loaded.Project.MemoryLimit = std::uint64_t{1} << 30;
                loaded.Load(project(key, value));
                EXPECT_EQ(ModelSummary(loaded), summaries[extreme]) << key << " " << value;
            }
        }
        // Beyond them a value is no number: it is told, and the one before stays.
        for (const std::string& value : beyond) {
            const TLoadedProject loaded(project(key, value));
            EXPECT_EQ(loaded.Boxes(), std::vector{NotANumber(9, value)}) << key << " " << value;
            EXPECT_EQ(Describe(loaded.Project), Describe(TLoadedProject(project("", "")).Project))
                << key << " " << value;
        }
    }
}

// Move lists are kept in an arena whose first block holds 8 MB; a log with more moves goes on in
// a second block, and the list that would cross the end of the first is placed there whole. Every
// person still stands where its list, counted here, takes it, reached by a jump or by steps.
TEST(FormatEdges, MovesPastTheFirstBlockOfTheirMemoryReplayToTheirEnd) {
    constexpr std::size_t FirstBlock = std::size_t{8} << 20;
    // Person i starts on cell (i % 8, i / 8), walks 20000 + i cells north-east, then 20000 north
    // and 20000 east in turn, 8 bytes of memory a turn, and climbs a deck in direction 1 + i % 8:
    // 40 lists of about 216 KB, the 39th of which crosses 8 MB.
    constexpr int Persons = 40;
    constexpr std::int64_t Run = 20000;
    constexpr std::int64_t Turns = 27000;
    std::string text = "<header>\npmax " + std::to_string(Persons) +
                       "\nxmax 8\nymax 8\nzmax 4\nvmax 1\nversion 1\n</header>\n"
                       "<persons>\n<startpositions>\n";
    for (int i = 0; i < Persons; ++i) {
        text += std::to_string(i % 8) + " " + std::to_string(i / 8) + " 1 1 0\n";
    }
    text += "(movement)\n";
    std::string turns;
    for (std::int64_t turn = 0; turn < Turns; ++turn) {
        turns += "P20000x1P20000x3";
    }
    for (int i = 0; i < Persons; ++i) {
        text += "P" + std::to_string(Run + i) + "x2 " + turns + " U" + std::to_string(1 + i % 8) +
                " S\n";
    }
    text += "</persons>\n";
    TLoadedProject loaded;
    loaded.Project.ReadAheadFrom = -1; // every list in the one arena, one after another
    loaded.Load(text);
    ASSERT_THAT(loaded.Boxes(), ::testing::IsEmpty());
    std::vector<TPersonData>& persons = loaded.Project.Persons;
    ASSERT_GT(loaded.Project.MoveMemory.UsedBytes(), FirstBlock);
    std::size_t crossing = 0;
    for (std::size_t before = 0; before + persons[crossing].Moves.ByteSize() <= FirstBlock;
         ++crossing) {
        before += persons[crossing].Moves.ByteSize();
    }
    ASSERT_EQ(crossing, 38u);

    // Start cells, and the cell and deck each list ends on and its length.
    struct TEnd {
        std::int64_t StartX, StartY, X, Y;
        std::int32_t Level, Length;
    };
    std::vector<TEnd> ends;
    for (int i = 0; i < Persons; ++i) {
        const TPersonData& person = persons[static_cast<std::size_t>(i)];
        const std::int64_t walked = Run + i + Turns * Run;
        ends.push_back({person.CellX, person.CellY, person.CellX + walked + CompassX[1 + i % 8],
                        person.CellY + walked + CompassY[1 + i % 8], 2,
                        static_cast<std::int32_t>(Run + i + 2 * Turns * Run + 1)});
    }
    TReplay replay;
    replay.SetProject(&loaded.Project);
    // Inside the 1001st turn, on its way north.
    replay.SeekToStep(static_cast<std::int32_t>(Run + Persons + 2000 * Run + 7));
    for (int i = 0; i < Persons; ++i) {
        const TEnd& end = ends[static_cast<std::size_t>(i)];
        const TPersonData& person = persons[static_cast<std::size_t>(i)];
        const std::int64_t north = Persons - i + 7;
        ASSERT_EQ(person.CellX, end.StartX + Run + i + 1000 * Run) << "person " << i;
        ASSERT_EQ(person.CellY, end.StartY + Run + i + 1000 * Run + north) << "person " << i;
        ASSERT_EQ(person.Level, 1) << "person " << i;
    }
    const auto check = [&](const char* how) {
        for (int i = 0; i < Persons; ++i) {
            const TEnd& end = ends[static_cast<std::size_t>(i)];
            const TPersonData& person = persons[static_cast<std::size_t>(i)];
            if (replay.TimeStep() < end.Length) {
                continue; // still on its way
            }
            const bool left = replay.TimeStep() > end.Length;
            ASSERT_EQ(person.CellX, end.X) << how << ", person " << i;
            ASSERT_EQ(person.CellY, end.Y) << how << ", person " << i;
            ASSERT_EQ(left ? person.LeftFromLevel : person.Level, end.Level)
                << how << ", person " << i;
            ASSERT_EQ(person.Level == -1, left) << how << ", person " << i;
        }
    };
    replay.SeekToStep(replay.EndStep());
    ASSERT_EQ(replay.SavedCount(), Persons);
    ASSERT_NO_FATAL_FAILURE(check("by a jump to the end"));
    // Every list ends within the last 45 steps.
    replay.SeekToStep(replay.EndStep() - 45);
    while (replay.CanStepForward()) {
        replay.StepForward();
        ASSERT_NO_FATAL_FAILURE(check("step by step"));
    }
    ASSERT_EQ(replay.SavedCount(), Persons);
}

// The congestion map may count 2^27 cells over all decks together, and measuring congestion may
// take the project's memory over all decks together: decks that each fit can still be too many.
TEST(FormatEdges, AnalysesTooLargeForAllDecksTogetherAreRefused) {
    const auto header = [](int x, int y, int z) {
        return "<header>\nversion 1\npmax 1\nxmax " + std::to_string(x) + "\nymax " +
               std::to_string(y) + "\nzmax " + std::to_string(z) + "\nvmax 1\n</header>\n";
    };
    const auto tooLarge = [](const std::string& cells) {
        return "The congestion map of this file would have " + cells +
               " cells; it can be made for at most 134217728.";
    };
    const struct {
        int X, Y, Z;
        std::optional<std::string> Refusal;
    } maps[] = {
        {8192, 16384, 1, std::nullopt}, {8192, 16385, 1, tooLarge("134225920")},
        {8192, 8192, 2, std::nullopt},  {8192, 8192, 3, tooLarge("201326592")},
        {4096, 4096, 8, std::nullopt},  {4096, 4097, 8, tooLarge("134250496")},
    };
    for (const auto& m : maps) {
        const TLoadedProject loaded(header(m.X, m.Y, m.Z));
        EXPECT_EQ(AnalysisRefusal(loaded.Project), m.Refusal)
            << m.X << " x " << m.Y << " x " << m.Z;
    }

    // The window counts and the persons on each cell of 1000 x 1000 cells take 1001 x 1001 x 36
    // bytes a deck.
    constexpr std::uint64_t PerDeck = std::uint64_t{1001} * 1001 * 36;
    const struct {
        int Decks;
        std::uint64_t Limit;
        std::optional<std::string> Refusal;
    } measures[] = {
        {1, 2 * PerDeck, std::nullopt},
        {2, 2 * PerDeck, std::nullopt},
        {3, 2 * PerDeck,
         "measuring congestion on 3 decks of 1000 x 1000 cells with 0 persons would take 103 MB, "
         "more than the 68 MB the program may use"},
        {3, 3 * PerDeck - 1,
         "measuring congestion on 3 decks of 1000 x 1000 cells with 0 persons would take 103 MB, "
         "more than the 103 MB the program may use"},
        {3, 3 * PerDeck, std::nullopt},
    };
    for (const auto& m : measures) {
        TLoadedProject loaded(header(1000, 1000, m.Decks));
        loaded.Project.MemoryLimit = m.Limit;
        EXPECT_EQ(CongestionRefusal(loaded.Project), m.Refusal) << m.Decks << " decks";
    }
}

namespace {

// Everything a replay shows of itself and its persons at the step it stands at.
std::vector<std::string> ShownAt(const TReplayedLog& r) {
    const TReplay& replay = r.Replay;
    std::vector<std::string> shown = {replay.PositionText() + ", " + replay.TimeText() + ", " +
                                      replay.SavedText() +
                                      (replay.EverybodyHasLeft() ? ", all left" : "") +
                                      (replay.CanStepForward() ? ", can step" : "") +
                                      (replay.AtWholeSecond() ? ", whole second" : "")};
    for (const TPersonData& p : r.Loaded.Project.Persons) {
        std::ostringstream person;
        person << p.X() << ' ' << p.Y() << ' ' << p.Level << ' ' << p.Heading << ' '
               << p.LeftFromLevel;
        shown.push_back(person.str());
    }
    return shown;
}

} // namespace

// A fresh replay sought to its last second, or to its end step, shows what stepping there one
// step at a time shows, whether the seek steps (the end a few steps away) or jumps; and a step
// back from there too.
TEST(FormatEdges, ASeekOfAFreshReplayToItsLastSecondShowsWhatSteppingThereShows) {
    std::vector<std::string> texts = {
        FloorProject(4, 4, 2, {{1, 1, "3 S"}}),
        FloorProject(4, 3, -4, {{1, 1, "3 U3 D0 S"}, {2, 2, "S"}}),
        FloorProject(4, 1, 7, {{1, 1, "P5x3 U3 S"}, {0, 3, "1 2 S"}}),
        LogWithLists({1, 6, 3}),
        // One person described in full, one without a start, one not at all.
        Header(3, 4, 4, 2) + "<persons>\n<startpositions>\n1 1 1 3 0\n(movement)\n2 D2 S\nS\n" +
            "</persons>\n",
    };
    std::mt19937 random(5);
    for (int i = 0; i < 24; ++i) {
        texts.push_back(
            RandomProject(random, i % 4 + 1, i % 3 * 5 - 5, {.LongestWait = i % 2 * 20}));
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        TReplayedLog stepped(text);
        while (stepped.Replay.CanStepForward()) {
            stepped.Replay.StepForward();
        }
        TReplayedLog bySecond(text);
        bySecond.Replay.SeekToSecond(bySecond.Replay.LastSecond());
        TReplayedLog byStep(text);
        byStep.Replay.SeekToStep(byStep.Replay.EndStep());
        if (stepped.Replay.CanPlay()) {
            ASSERT_EQ(ShownAt(bySecond), ShownAt(stepped));
        }
        ASSERT_EQ(ShownAt(byStep), ShownAt(stepped));
        if (stepped.Replay.TimeStep() > 0) {
            stepped.Replay.StepBackward();
            byStep.Replay.StepBackward();
            ASSERT_EQ(ShownAt(byStep), ShownAt(stepped)) << "a step back";
        }
    }
}
