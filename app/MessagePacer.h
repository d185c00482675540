#pragma once
// Lets the toolkit process pending messages during long loops, but at most once per interval:
// a call per cell would make a large deck spend seconds in the event loop.

#include "UiServices.h"

#include <chrono>

class TMessagePacer {
public:
    explicit TMessagePacer(std::chrono::milliseconds interval = std::chrono::milliseconds(15))
        : Interval(interval) {}

    void Pump() {
        const auto now = std::chrono::steady_clock::now();
        if (now >= NextPump) {
            Ui().ProcessMessages();
            NextPump = now + Interval;
        }
    }

private:
    std::chrono::milliseconds Interval;
    std::chrono::steady_clock::time_point NextPump{};
};
