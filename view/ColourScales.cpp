#include "ColourScales.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// Stops of a magma-like scale, lightest first, evenly spaced over the share.
constexpr std::array<TRgba, 4> CongestionStops{{
    {252, 236, 160, 140},
    {250, 140, 90, 190},
    {190, 55, 120, 225},
    {80, 18, 125, 250},
}};

// Stops of a plasma-like scale, darkest first.
constexpr std::array<TRgba, 5> WaitingStops{{
    {13, 8, 135, 255},
    {126, 3, 168, 255},
    {204, 71, 120, 255},
    {248, 149, 64, 255},
    {240, 249, 33, 255},
}};

constexpr TRgba MovingGreen{0, 255, 0, 255};

std::uint8_t Between(std::uint8_t a, std::uint8_t b, float t) {
    return static_cast<std::uint8_t>(static_cast<float>(a) +
                                     (static_cast<float>(b) - static_cast<float>(a)) * t + 0.5f);
}

// The colour at share 0 .. 1 of a scale of evenly spaced stops.
template <std::size_t N> TRgba Along(const std::array<TRgba, N>& stops, float share) {
    const float position = std::clamp(share, 0.0f, 1.0f) * static_cast<float>(N - 1);
    const auto low = std::min(static_cast<std::size_t>(position), N - 2);
    const float t = position - static_cast<float>(low);
    const TRgba& a = stops[low];
    const TRgba& b = stops[low + 1];
    return {Between(a.R, b.R, t), Between(a.G, b.G, t), Between(a.B, b.B, t), Between(a.A, b.A, t)};
}

} // namespace

TRgba CongestionColour(float share) {
    return share > 0.0f ? Along(CongestionStops, share) : TRgba{0, 0, 0, 0};
}

TRgba WaitingColour(float seconds, float limit) {
    return seconds > 0.0f && limit > 0.0f ? Along(WaitingStops, seconds / limit) : MovingGreen;
}
