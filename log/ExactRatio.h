#pragma once
// A figure computed from whole numbers, kept as their exact ratio so that it is rounded from its
// exact value when printed. In binary floating point 3 persons over 1.6 m and 9 persons over
// 4.8 m land on either side of 1.875 and print as 1.88 and 1.87; as ratios both print as 1.88.

#include <string>

// Whole numbers of 128 bits: products of two or three 32-bit inputs (cells, millimetres, persons)
// with powers of ten fit without overflow.
__extension__ typedef __int128 TWholeNumber;

struct TExactRatio {
    TWholeNumber Numerator = 0;
    TWholeNumber Denominator = 1;

    // The nearest double, for plots and axes; never for printed figures.
    double Value() const;
};

// The ratio with that many digits after the point (none: no point), rounded half up from its
// exact value. A negative ratio prints as its magnitude with a minus sign in front, so that it
// rounds as the positive one does, and a figure that rounds to zero has no sign. A denominator of
// 0 gives 0. Any parts but the least 128-bit number are taken without overflow.
std::string FixedText(const TExactRatio& ratio, int decimals);

// Milliseconds as seconds: 147250 is 147.250 s.
inline TExactRatio SecondsOfMilliseconds(TWholeNumber milliseconds) {
    return {milliseconds, 1000};
}
