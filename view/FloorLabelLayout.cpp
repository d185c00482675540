#include "FloorLabelLayout.h"

#include <algorithm>

namespace {

// The room kept between two labels, in pixels.
constexpr int Gap = 2;

// The places tried for a box, the first that covers no box placed before it taken: at its point,
// then moved off it by its own height or half its width and a gap, so that it still touches it.
std::vector<QRect> PlacesToTry(const QRect& box) {
    const int up = box.height() + Gap;
    const int aside = box.width() / 2 + Gap;
    return {box, box.translated(0, -up), box.translated(0, up), box.translated(aside, 0),
            box.translated(-aside, 0)};
}

bool CoversAny(const QRect& box, const std::vector<QRect>& placed) {
    const QRect kept = box.adjusted(-Gap / 2, -Gap / 2, Gap / 2, Gap / 2);
    return std::ranges::any_of(placed, [&](const QRect& other) { return kept.intersects(other); });
}

} // namespace

std::vector<std::optional<QRect>> LaidOutLabels(const std::vector<QRect>& boxes) {
    std::vector<std::optional<QRect>> laidOut;
    std::vector<QRect> placed;
    for (const QRect& box : boxes) {
        std::optional<QRect> chosen;
        for (const QRect& place : PlacesToTry(box)) {
            if (!CoversAny(place, placed)) {
                chosen = place;
                break;
            }
        }
        if (chosen) {
            placed.push_back(*chosen);
        }
        laidOut.push_back(chosen);
    }
    return laidOut;
}
