#include "AnalysisSettings.h"

#include <algorithm>
#include <cmath>

std::int32_t TAnalysisSettings::WindowCells() const {
    if (CellSizeMm <= 0 || DensityWindowMm <= 0) {
        return 1;
    }
    // Odd numbers 2k + 1: the nearest to r is k = round((r - 1) / 2), ties up.
    const double ratio = static_cast<double>(DensityWindowMm) / CellSizeMm;
    const double half = std::floor((ratio - 1.0) / 2.0 + 0.5);
    const double cells = 2.0 * std::clamp(half, 0.0, 1.0e6) + 1.0;
    return static_cast<std::int32_t>(cells);
}

TExactRatio TAnalysisSettings::Metres(std::int64_t cells) const {
    return {TWholeNumber{cells} * CellSizeMm, 1000};
}

TExactRatio TAnalysisSettings::SquareMetres(std::int64_t cells) const {
    return {TWholeNumber{cells} * CellSizeMm * CellSizeMm, 1'000'000};
}

TExactRatio TAnalysisSettings::Density(std::int64_t persons, std::int64_t cells) const {
    return {TWholeNumber{persons} * 1'000'000, TWholeNumber{cells} * CellSizeMm * CellSizeMm};
}

TExactRatio TAnalysisSettings::PerMetre(std::int64_t count, std::int64_t cells) const {
    return {TWholeNumber{count} * 1000, TWholeNumber{cells} * CellSizeMm};
}
