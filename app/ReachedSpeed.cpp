#include "ReachedSpeed.h"

#include <cstdio>

namespace {

constexpr std::chrono::seconds MeasuredSpan{1};
constexpr std::chrono::seconds SlowFor{2};
constexpr double Tolerance = 0.9; // of the speed asked for

double Seconds(std::chrono::steady_clock::duration span) {
    return std::chrono::duration<double>(span).count();
}

} // namespace

void TReachedSpeed::Start(double asked, std::int32_t stepsPerSecond, std::int32_t step,
                          TClock::time_point now) {
    Asked = asked;
    StepsPerSecond = stepsPerSecond;
    Recent = {{now, step}};
    SlowSince.reset();
    Told.reset();
}

void TReachedSpeed::Stop() {
    Recent.clear();
    SlowSince.reset();
    Told.reset();
}

std::optional<double> TReachedSpeed::Played(std::int32_t step, TClock::time_point now) {
    if (Recent.empty() || StepsPerSecond <= 0) {
        return std::nullopt;
    }
    // A replay that starts over once everybody has left is measured afresh; what was told
    // stays until the measure says otherwise.
    if (step < Recent.back().Step) {
        Recent.clear();
    }
    Recent.push_back({now, step});
    while (Recent.size() > 2 && now - Recent[1].When >= MeasuredSpan) {
        Recent.pop_front();
    }
    const TSample& first = Recent.front();
    if (now - first.When < MeasuredSpan) {
        return Told;
    }
    const double reached =
        (step - first.Step) / static_cast<double>(StepsPerSecond) / Seconds(now - first.When);
    if (reached >= Asked * Tolerance) {
        SlowSince.reset();
        Told.reset();
    } else if (!SlowSince) {
        SlowSince = now;
    } else if (now - *SlowSince >= SlowFor) {
        Told = reached;
    }
    return Told;
}

std::string TReachedSpeed::Text(double speed) {
    char text[32];
    if (speed < 9.95) {
        std::snprintf(text, sizeof text, "reached %.1fx", speed);
    } else {
        std::snprintf(text, sizeof text, "reached %.0fx", speed);
    }
    return text;
}
