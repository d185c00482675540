#include "CongestionScale.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// Stops of a magma-like scale, lightest first, evenly spaced over the share.
constexpr std::array<TRgba, 4> Stops{{
    {252, 236, 160, 140},
    {250, 140, 90, 190},
    {190, 55, 120, 225},
    {80, 18, 125, 250},
}};

std::uint8_t Between(std::uint8_t a, std::uint8_t b, float t) {
    return static_cast<std::uint8_t>(static_cast<float>(a) +
                                     (static_cast<float>(b) - static_cast<float>(a)) * t + 0.5f);
}

} // namespace

TRgba CongestionColour(float share) {
    if (!(share > 0.0f)) {
        return {0, 0, 0, 0};
    }
    const float position = std::min(share, 1.0f) * static_cast<float>(Stops.size() - 1);
    const auto low = std::min(static_cast<std::size_t>(position), Stops.size() - 2);
    const float t = position - static_cast<float>(low);
    const TRgba& a = Stops[low];
    const TRgba& b = Stops[low + 1];
    return {Between(a.R, b.R, t), Between(a.G, b.G, t), Between(a.B, b.B, t), Between(a.A, b.A, t)};
}
