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
