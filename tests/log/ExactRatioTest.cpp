// Figures computed from whole numbers printed from their exact value, rounded half up, the
// measures of the analyses among them.

#include "ExactRatio.h"
#include "AnalysisSettings.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TAnalysisSettings CellsOf(std::int32_t millimetres) {
    TAnalysisSettings settings;
    settings.CellSizeMm = millimetres;
    return settings;
}

} // namespace

TEST(ExactRatio, FiguresArePrintedRoundedHalfUpFromTheirExactValue) {
    constexpr std::int32_t Most = std::numeric_limits<std::int32_t>::max();
    constexpr TWholeNumber Largest = (TWholeNumber{1} << 126) - 1 + (TWholeNumber{1} << 126);
    const TAnalysisSettings cells = CellsOf(400);
    const struct {
        const char* Figure;
        TExactRatio Ratio;
        int Decimals;
        std::string Text;
    } figures[] = {
        {"3 persons a second over 4 cells", cells.PerMetre(3, 4), 2, "1.88"},
        {"9 persons a second over 12 cells", cells.PerMetre(9, 12), 2, "1.88"},
        {"1 person a second over 4 cells", cells.PerMetre(1, 4), 2, "0.63"},
        {"7 persons in 10 cells", cells.Density(7, 10), 2, "4.38"},
        {"14 cells of 0.45 m", CellsOf(450).SquareMetres(14), 2, "2.84"},
        {"12 cells of 0.4 m", cells.Metres(12), 3, "4.800"},
        {"the mean of 187.637 s and 187.638 s", {187'637 + 187'638, 2 * 1000}, 3, "187.638"},
        {"a carry into the whole part", {9995, 1000}, 2, "10.00"},
        {"no decimals", {19, 2}, 0, "10"},
        {"a negative tie rounds as its magnitude", {-3, 8}, 2, "-0.38"},
        {"a negative figure that rounds to zero", {-1, 1000}, 2, "0.00"},
        {"over a negative denominator", {3, -8}, 2, "-0.38"},
        {"no cells", cells.Density(3, 0), 2, "0.00"},
        {"the most persons in one cell of 1 mm", CellsOf(1).Density(Most, 1), 2,
         "2147483647000000.00"},
        {"the most cells of the largest size", CellsOf(Most).SquareMetres(Most), 2,
         "9903520300447984150353.28"},
        {"one person in the most cells of the largest size", CellsOf(Most).Density(1, Most), 12,
         "0.000000000000"},
        {"parts of 127 bits",
         {Largest, Largest - 1},
         40,
         "1.0000000000000000000000000000000000000059"},
    };
    for (const auto& figure : figures) {
        EXPECT_EQ(FixedText(figure.Ratio, figure.Decimals), figure.Text) << figure.Figure;
    }
}
