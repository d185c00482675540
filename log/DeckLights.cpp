#include "Deck.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int32_t InitialLightSpacing = 100;

// Distances are truncated to whole cells before they are compared, so that lights a fraction of
// a cell apart count as equally near and the lower slot wins.
std::int64_t TruncatedDistance(const TLight& light, float px, float py) {
    const double dx = double{px} - double{light.Position[0]};
    const double dy = double{py} - double{light.Position[1]};
    return static_cast<std::int64_t>(std::sqrt(dx * dx + dy * dy));
}

template <typename Predicate>
int NearestLight(const std::array<TLight, DeckLightSlots>& lights, float px, float py,
                 Predicate considered) {
    int nearest = -1;
    std::int64_t nearestDistance = 0;
    for (int k = 0; k < DeckLightSlots; ++k) {
        const TLight& light = lights[static_cast<std::size_t>(k)];
        if (!considered(light)) {
            continue;
        }
        const std::int64_t d = TruncatedDistance(light, px, py);
        if (nearest < 0 || d < nearestDistance) {
            nearest = k;
            nearestDistance = d;
        }
    }
    return nearest;
}

} // namespace

void TDeck::AddLightAt(float x, float y) {
    LightCount = 0;
    int freeSlot = -1;
    for (int k = 0; k < DeckLightSlots; ++k) {
        if (Lights[static_cast<std::size_t>(k)].SwitchedOn) {
            ++LightCount;
        } else if (freeSlot < 0) {
            freeSlot = k;
        }
    }
    int picked = freeSlot;
    if (picked < 0) {
        picked = NearestLight(Lights, x, y, [](const TLight&) { return true; });
    } else {
        Lights[static_cast<std::size_t>(picked)].SwitchedOn = true;
        ++LightCount;
    }
    TLight& light = Lights[static_cast<std::size_t>(picked)];
    light.Position[0] = x;
    light.Position[1] = y;
}

void TDeck::RemoveNearestLight(float x, float y) {
    const int picked =
        NearestLight(Lights, x, y, [](const TLight& light) { return light.SwitchedOn; });
    if (picked < 0) {
        return;
    }
    --LightCount;
    TLight& light = Lights[static_cast<std::size_t>(picked)];
    light.Position[0] = 0.0f;
    light.Position[1] = 0.0f;
    light.SwitchedOn = false;
}

void TDeck::PlaceInitialLights(std::int32_t xMax, std::int32_t yMax) {
    std::int32_t nx = xMax / InitialLightSpacing - 1;
    std::int32_t ny = yMax / InitialLightSpacing - 1;
    nx = nx < 1 ? 1 : nx;
    ny = ny < 1 ? 1 : ny;
    bool nyTurn = true;
    while (std::int64_t{nx} * ny > DeckLightSlots) {
        // Once one side is down to 1, the other shrinks alone until the product is 8.
        if (nx == 1 || ny == 1) {
            (nx == 1 ? ny : nx) = DeckLightSlots;
            break;
        }
        std::int32_t& reduced = nyTurn ? ny : nx;
        if (reduced > 1) {
            --reduced;
        }
        nyTurn = !nyTurn;
    }
    for (std::int32_t j = 1; j <= ny; ++j) {
        for (std::int32_t i = 1; i <= nx; ++i) {
            const std::int32_t x = (xMax / (nx + 1)) * i - xMax / 2;
            const std::int32_t y = (yMax / (ny + 1)) * j - yMax / 2;
            AddLightAt(static_cast<float>(x), static_cast<float>(y));
        }
    }
}
