#pragma once
// Whether playback keeps up with the speed asked for. The speed reached is measured over the last
// second of playing; it is told once it has stayed more than a tenth below the speed asked for
// during two seconds, and no longer once it comes back within that tenth.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

class TReachedSpeed {
public:
    using TClock = std::chrono::steady_clock;

    // Playing starts at a time step, or goes on at another speed (times real time), in a replay of
    // that many time steps a second.
    void Start(double asked, std::int32_t stepsPerSecond, std::int32_t step,
               TClock::time_point now);
    void Stop();
    // The replay stands at that time step now; the speed reached, while it is to be told.
    std::optional<double> Played(std::int32_t step, TClock::time_point now);

    // "reached 1.6x", "reached 12x".
    static std::string Text(double speed);

private:
    struct TSample {
        TClock::time_point When;
        std::int32_t Step;
    };

    double Asked = 0.0;
    std::int32_t StepsPerSecond = 0;
    std::deque<TSample> Recent; // the last second of playing and one sample before it
    std::optional<TClock::time_point> SlowSince;
    std::optional<double> Told;
};
