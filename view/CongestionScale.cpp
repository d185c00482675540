#include "CongestionScale.h"

#include <algorithm>

TRgba CongestionColour(float share) {
    if (!(share > 0.0f)) {
        return {0, 0, 0, 0};
    }
    const float s = std::min(share, 1.0f);
    const auto channel = [](float value) {
        return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
    };
    return {255, channel(1.0f - s), 0, channel(0.35f + 0.6f * s)};
}
