#pragma once
// Integer literals as log files write them.

#include <cstdint>
#include <optional>
#include <string_view>

// A signed integer with base detection: "0x" hexadecimal, a leading "0" octal, else decimal.
// The whole text must be the literal and its value must fit 32 bits.
std::optional<std::int32_t> ParseBaseDetected(std::string_view text);
