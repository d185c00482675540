#pragma once
// Figures computed from whole numbers that fall exactly on a tie at their last printed decimal,
// with the text every report must print for them: rounded half up from the exact value. Binary
// floating point lands on either side of such ties (3 persons over 1.6 m printed as 1.88, 9 over
// 4.8 m as 1.87), so each of these once printed the other way. Shared by the command line's tests
// and the windows' tests, which show the same figures.

#include "AnalysisSettings.h"

#include <algorithm>
#include <string>
#include <vector>

struct TFigureTie {
    std::string Figure;
    std::string Mode;
    TAnalysisSettings Settings;
    std::string Input; // the log, or for --merge the table of runs
    std::string Text;  // the figure as printed
    std::string Line;  // the whole line of standard output that holds it
};

// The settings as the command line's options.
inline std::vector<std::string> AnalysisOptions(const TAnalysisSettings& settings) {
    const auto decimal = [](std::int32_t value, int decimals) {
        std::string digits = std::to_string(value);
        digits.insert(
            0, static_cast<std::size_t>(std::max<int>(decimals + 1 - int(digits.size()), 0)), '0');
        return digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    };
    return {"--cell-size", decimal(settings.CellSizeMm, 3),
            "--window",    decimal(settings.DensityWindowMm, 3),
            "--density",   decimal(settings.CongestionDensityTenths, 1),
            "--share",     std::to_string(settings.SignificantSharePercent)};
}

namespace FigureTieInputs {

// "x y" of persons on one deck of width x height free cells, each with its moves.
inline std::string Deck(int width, int height, int tOff,
                        const std::vector<std::pair<std::string, std::string>>& persons) {
    std::string text = "<header>\nversion 1\npmax " + std::to_string(persons.size()) + "\nxmax " +
                       std::to_string(width) + "\nymax " + std::to_string(height) +
                       "\nzmax 1\nvmax 1\ntoff " + std::to_string(tOff) +
                       "\n</header>\n<deck>\nlevel 0\n(celldata)\n";
    for (int y = 0; y < height; ++y) {
        text += "P" + std::to_string(width) + "x0\n";
    }
    text += "</deck>\n<persons>\n<startpositions>\n";
    for (const auto& person : persons) {
        text += person.first + " 0 1 0\n";
    }
    text += "(movement)\n";
    for (const auto& person : persons) {
        text += person.second + "\n";
    }
    return text + "</persons>\n";
}

// One second a step, from 100 s. Three doors of row 0, 5 and 10: four cells wide (1.6 m) with 3
// persons in the busiest second, four cells wide with 1, twelve cells wide (4.8 m) with 9. A
// last person walks off the grid, and leaves at no exit.
inline std::string Doors() {
    std::vector<std::pair<std::string, std::string>> persons = {
        {"0 0", "S"},    {"1 0", "S"},       {"2 0", "S"},         {"3 0", "0 0 S"},
        {"0 5", "S"},    {"1 5", "0 S"},     {"2 5", "0 0 S"},     {"3 5", "0 0 0 S"},
        {"9 10", "0 S"}, {"10 10", "0 0 S"}, {"11 10", "0 0 0 S"}, {"15 15", "3 S"}};
    for (int x = 0; x < 9; ++x) {
        persons.push_back({std::to_string(x) + " 10", "S"});
    }
    return Deck(16, 16, 100, persons);
}

// Seven persons on a deck of 5 x 2 cells, so that the window around the middle column holds all
// 7 in its 10 cells: 7 / 1.6 m² = 4.375 persons/m²; the windows around the other columns hold
// less for their cells.
inline std::string SevenInTenCells() {
    return Deck(5, 2, 0,
                {{"0 0", "S"},
                 {"0 1", "S"},
                 {"1 0", "S"},
                 {"2 0", "S"},
                 {"3 0", "S"},
                 {"4 0", "S"},
                 {"4 1", "S"}});
}

// Fourteen persons in a row of fourteen cells: one region of 14 x 0.45² = 2.835 m² when each
// cell is its own window.
inline std::string FourteenInARow() {
    std::vector<std::pair<std::string, std::string>> persons;
    for (int x = 0; x < 14; ++x) {
        persons.push_back({std::to_string(x) + " 0", "S"});
    }
    return Deck(14, 1, 0, persons);
}

// Two runs whose assembly times average to 187.6375 s.
inline const std::string TwoRuns = "file,persons,all_left_s,p50_s,p90_s,significant_regions,fault\n"
                                   "a.3dl,10,187.637,100.000,150.000,0,\n"
                                   "b.3dl,10,187.638,100.000,150.000,0,\n";

// Twelve persons in the 20 cells of a deck of 5 x 4 at step 0 (3.75 persons/m²), none of its
// windows fuller; at step 12 three have left and one stepped in, and the window of 15 cells
// around the middle of the top row holds 9 (3.75 persons/m² again). The peak was first reached at
// step 0. From 100 s, a step a second.
inline std::string PeakTwice() {
    std::vector<std::pair<std::string, std::string>> persons;
    for (const char* cell : {"0 0", "1 0", "3 0", "4 0", "0 1", "4 1", "1 2", "3 2"}) {
        persons.push_back({cell, "P12x0 S"});
    }
    for (const char* cell : {"0 3", "3 3", "4 3"}) {
        persons.push_back({cell, "P11x0 S"});
    }
    persons.push_back({"1 3", "P11x0 2 S"});
    return Deck(5, 4, 100, persons);
}

} // namespace FigureTieInputs

inline std::vector<TFigureTie> FigureTies() {
    using namespace FigureTieInputs;
    const TAnalysisSettings defaults;
    TAnalysisSettings cellWindows;
    cellWindows.CellSizeMm = cellWindows.DensityWindowMm = 450;
    cellWindows.CongestionDensityTenths = 10;
    TAnalysisSettings lowerDensity;
    lowerDensity.CongestionDensityTenths = 25;
    return {
        {"3 persons a second over 1.6 m", "--flows", defaults, Doors(), "1.88",
         "exit,0,0,0,3,0,4,101.000,103.000,3,1.600,1.88,101:3;103:1"},
        {"1 person a second over 1.6 m", "--flows", defaults, Doors(), "0.63",
         "exit,0,0,5,3,5,4,101.000,104.000,1,1.600,0.63,101:1;102:1;103:1;104:1"},
        {"9 persons a second over 4.8 m", "--flows", defaults, Doors(), "1.88",
         "exit,0,0,10,11,10,12,101.000,104.000,9,4.800,1.88,101:9;102:1;103:1;104:1"},
        {"7 persons in 10 cells of 0.16 m²", "--congestion", defaults, SevenInTenCells(), "4.38",
         "0,2,0,2,1,0.32,0.000,0.000,1.000,1.000,4.38,yes,0.000"},
        {"14 cells of 0.2025 m²", "--congestion", cellWindows, FourteenInARow(), "2.84",
         "0,0,0,13,0,2.84,0.000,0.000,1.000,1.000,4.94,yes,0.000"},
        {"12 in 20 cells at step 0, 9 in 15 at step 12", "--congestion", lowerDensity, PeakTwice(),
         "3.75", "0,0,0,4,3,3.20,100.000,112.000,13.000,13.000,3.75,yes,100.000"},
        {"the mean of 187.637 s and 187.638 s", "--merge", defaults, TwoRuns, "187.638",
         "  mean           187.638 s"},
    };
}
