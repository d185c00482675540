#include "ExactRatio.h"

#include <algorithm>

namespace {

__extension__ typedef unsigned __int128 TMagnitude;

TMagnitude MagnitudeOf(TWholeNumber value) {
    // Negating in the unsigned type is defined for every value.
    return value < 0 ? TMagnitude{0} - static_cast<TMagnitude>(value)
                     : static_cast<TMagnitude>(value);
}

std::string DigitsOf(TMagnitude value) {
    std::string digits;
    do {
        digits += static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// The next decimal digit of remainder / denominator (remainder below the denominator), the
// remainder left for the following one: ten times the remainder, taken modulo the denominator by
// adding it ten times, so that no product can overflow whatever the denominator.
int NextDigit(TMagnitude& remainder, TMagnitude denominator) {
    TMagnitude tenfold = 0;
    int digit = 0;
    for (int i = 0; i < 10; ++i) {
        if (tenfold >= denominator - remainder) {
            tenfold -= denominator - remainder;
            ++digit;
        } else {
            tenfold += remainder;
        }
    }
    remainder = tenfold;
    return digit;
}

// Adds one to the last digit of a string of decimal digits.
void AddOneAtTheEnd(std::string& digits) {
    for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
        if (*at != '9') {
            ++*at;
            return;
        }
        *at = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

double TExactRatio::Value() const {
    return Denominator == 0 ? 0.0
                            : static_cast<double>(static_cast<long double>(Numerator) /
                                                  static_cast<long double>(Denominator));
}

std::string FixedText(const TExactRatio& ratio, int decimals) {
    if (ratio.Denominator == 0) {
        return FixedText({0, 1}, decimals);
    }
    decimals = std::max(decimals, 0);
    const TMagnitude denominator = MagnitudeOf(ratio.Denominator);
    const TMagnitude numerator = MagnitudeOf(ratio.Numerator);
    const bool negative = (ratio.Numerator < 0) != (ratio.Denominator < 0);
    std::string digits = DigitsOf(numerator / denominator);
    TMagnitude remainder = numerator % denominator;
    for (int i = 0; i < decimals; ++i) {
        digits += static_cast<char>('0' + NextDigit(remainder, denominator));
    }
    // Half up: what is left is at least half of the last digit's unit.
    if (remainder >= denominator - remainder) {
        AddOneAtTheEnd(digits);
    }
    const std::size_t point = digits.size() - static_cast<std::size_t>(decimals);
    std::string text = digits.substr(0, point);
    if (decimals > 0) {
        text += '.';
        text += digits.substr(point);
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return negative && !zero ? "-" + text : text;
}
