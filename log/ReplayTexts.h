#pragma once
// The replay's status texts: time and saved count.

#include <cstdint>
#include <string>

// Replay time in whole seconds at a time step: step / vMax + tOff, truncated toward zero. With no
// valid speed (vMax <= 0) no time passes.
std::int32_t ReplayTimeSeconds(std::int32_t timeStep, std::int32_t vMax, std::int32_t tOff);

// "Time: m:ss min"; a negative time gets a minus sign in front of the minutes.
std::string TimeText(std::int32_t timeSeconds);

// "Saved: n", from 1000 on with a point before the last three digits ("Saved: 12.345").
std::string SavedText(std::int32_t savedCount);
