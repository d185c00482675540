#include "hull.hpp"

#include <cmath>

namespace gen3dl {
namespace {

std::size_t cellOf(int x, int y, int xmax) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(xmax) +
           static_cast<std::size_t>(x);
}

double shipHalfWidth(int x, int xmax, int ymax) {
    const double full = (ymax - 1) / 2.0;
    const double bowStart = 0.72 * (xmax - 1);
    if (x == 0 && full >= 3.0) {
        return full - 1.0; // rounded transom corners
    }
    if (x <= bowStart) {
        return full;
    }
    const double t = (xmax - 1 - x) / ((xmax - 1) - bowStart);
    return full * std::sqrt(t);
}

std::vector<char> insideMask(Kind kind, int xmax, int ymax) {
    std::vector<char> mask(cellOf(0, ymax, xmax), 1);
    if (kind == Kind::Building) {
        return mask;
    }
    const double centre = (ymax - 1) / 2.0;
    for (int x = 0; x < xmax; ++x) {
        const double half = shipHalfWidth(x, xmax, ymax) + 1e-9;
        for (int y = 0; y < ymax; ++y) {
            mask[cellOf(x, y, xmax)] = std::fabs(y - centre) <= half;
        }
    }
    return mask;
}

bool touchesOutside(const std::vector<char>& mask, int xmax, int ymax, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= xmax || ny >= ymax) {
                return true;
            }
            if (!mask[cellOf(nx, ny, xmax)]) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

Grid makeHull(Kind kind, int xmax, int ymax) {
    const std::vector<char> mask = insideMask(kind, xmax, ymax);
    Grid hull(xmax, ymax, code::kVoid);
    for (int y = 0; y < ymax; ++y) {
        for (int x = 0; x < xmax; ++x) {
            if (!mask[cellOf(x, y, xmax)]) {
                continue;
            }
            const bool edge = touchesOutside(mask, xmax, ymax, x, y);
            hull.set(x, y, edge ? code::kWall : code::kFree);
        }
    }
    return hull;
}

} // namespace gen3dl
