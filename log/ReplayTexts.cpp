#include "ReplayTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

std::int32_t ReplayTimeSeconds(std::int32_t timeStep, std::int32_t vMax, std::int32_t tOff) {
    const double elapsed = vMax > 0 ? double(timeStep) / double(vMax) : 0.0;
    const double seconds = std::trunc(elapsed + double(tOff));
    return static_cast<std::int32_t>(std::clamp(seconds,
                                                double(std::numeric_limits<std::int32_t>::min()),
                                                double(std::numeric_limits<std::int32_t>::max())));
}

std::string TimeText(std::int32_t timeSeconds) {
    const std::int64_t magnitude = std::abs(std::int64_t{timeSeconds});
    char text[48];
    std::snprintf(text, sizeof text, "Time: %s%lld:%02lld min", timeSeconds < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 60), static_cast<long long>(magnitude % 60));
    return text;
}

std::string SavedText(std::int32_t savedCount) {
    if (savedCount < 1000) {
        return "Saved: " + std::to_string(savedCount);
    }
    char text[40];
    std::snprintf(text, sizeof text, "Saved: %d.%03d", savedCount / 1000, savedCount % 1000);
    return text;
}
