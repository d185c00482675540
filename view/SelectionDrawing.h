#pragma once
// What the view draws for the person the user selected: its prism larger, in the selection colour
// and outlined, so that it stands out in a crowd (in the plan a disc in its cell), and its whole
// way on the deck shown as lines just above the floor, the part walked solid and the part to come
// fainter and dashed, with a sign where it changes deck: a triangle pointing north for a deck up,
// south for a deck down.

#include "ColourScales.h"
#include "PersonWay.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The selected person is drawn unlit in cyan, which no light gives any other person: the lights
// are grey, so a lit person is its own colour scaled, plus a grey glint, clamped at full. That
// keeps the order of its channels: a green person has as much red as blue, and a person of the
// waiting scale with more blue than red has no more green than red. Cyan has full green and blue
// and no red. White, by contrast, is what a bright light makes of the scale's yellow.
inline constexpr TRgba SelectionColour{0, 255, 255, 255};

// The selected person, its way and the replay step shown; the caller keeps it up to date.
struct TShownSelection {
    std::size_t Person = 0;
    std::vector<TWayPoint> Way;
    std::int32_t Step = 0;
};

// The way on one deck as lines and signs in deck coordinates, split at the replay step.
struct TWayLines {
    std::vector<float> Walked; // x, y pairs, two points a line
    std::vector<float> ToCome;
    struct TDeckSign {
        float X, Y;
        bool Up;
    };
    std::vector<TDeckSign> Signs;
};

// Between two points on one deck the person walks straight at one pace, so the line is split at
// the point the step reaches. A deck change is signed on both decks: where it leaves and where
// it arrives.
void BuildWayLines(const std::vector<TWayPoint>& way, std::int32_t step, std::int32_t deck,
                   TWayLines& lines);

// Draws the way's lines and signs, unlit, just above the floor; with the context current and the
// deck's coordinates set.
void DrawWayLines(const TWayLines& lines);
// Draws the selected person's prism from its display list, standing at (x, y), turned by degrees.
void DrawSelectedPrism(unsigned prismList, float x, float y, float degrees);
// Draws the selected person of the plan as a disc over its own, inside its cell: black at the
// rim, the selection colour within.
void DrawSelectedDisc(float x, float y, std::int32_t heading);
