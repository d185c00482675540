// The person under a click and the selected person's way, as plain numbers: no OpenGL context.

#include "PersonPicking.h"
#include "PersonPrisms.h"
#include "SelectionDrawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr double Aspect = 1.5;

// A person standing on cell (x, y) counted from the deck's centre cell, on a deck.
TPersonData StandingAt(std::int64_t x, std::int64_t y, std::int32_t deck) {
    TPersonData person;
    person.Started = true;
    person.CellX = x;
    person.CellY = y;
    person.Level = deck;
    return person;
}

// Straight down, looked at from the fitted distance of a 40-cell deck; turned by mouse drags, and
// panned, as a user leaves the camera; and the plan, panned, where every ray runs straight down.
std::vector<std::pair<std::string, TCamera>> Cameras() {
    TCamera top;
    top.Reset(40);
    TCamera oblique = top;
    oblique.TurnTo(TCameraPreset::Oblique);
    oblique.FitToBox({-20, 20, -20, 20, 2}, Aspect);
    TCamera turned = top;
    turned.FIsControlEnabled = true;
    turned.MouseDown(TMouseButton::Left, 0, 0);
    turned.MouseMove(140, 70);
    turned.MouseUp();
    turned.MouseDown(TMouseButton::Right, 0, 0);
    turned.MouseMove(-40, 25);
    turned.MouseUp();
    TCamera plan = turned;
    plan.TurnTo(TCameraPreset::Plan);
    plan.FitToBox({-20, 20, -20, 20, 2}, Aspect);
    plan.Place(0, 0, plan.Distance(), {3.0, -2.0}, true);
    return {{"top", top}, {"oblique", oblique}, {"turned and panned", turned}, {"plan", plan}};
}

std::optional<std::size_t> PickAt(const TCamera& camera, const std::array<double, 2>& seen,
                                  const std::vector<TPersonData>& persons, std::int32_t deck) {
    const std::optional<TViewRay> ray = RayThrough(camera, Aspect, seen);
    return ray ? PickPerson(*ray, persons, deck) : std::nullopt;
}

// The middle of each prism, where the view shows it, picks that person and no other, at any
// angle; the floor far from everybody picks nobody; a person on another deck is never picked.
TEST(PersonPicking, TheMiddleOfAPrismPicksItsPersonAndTheFloorNobody) {
    const std::vector<TPersonData> persons = {StandingAt(-8, 5, 0), StandingAt(3, -6, 0),
                                              StandingAt(12, 9, 0), StandingAt(3, -6, 1)};
    for (const auto& [name, camera] : Cameras()) {
        SCOPED_TRACE(name);
        for (std::size_t i = 0; i < 3; ++i) {
            const auto seen =
                ProjectedPoint(camera, Aspect,
                               {persons[i].X(), persons[i].Y(), double{TPersonPrisms::Height} / 2});
            ASSERT_TRUE(seen.has_value());
            EXPECT_EQ(PickAt(camera, *seen, persons, 0), i);
            EXPECT_EQ(PickAt(camera, *seen, persons, 2), std::nullopt);
        }
        EXPECT_EQ(PickAt(camera, {3.0 / 40 * 2, 0.0}, persons, 0), std::nullopt);
        const auto empty = ProjectedPoint(camera, Aspect, {-12.5, -12.5, 0.0});
        ASSERT_TRUE(empty.has_value());
        EXPECT_EQ(PickAt(camera, *empty, persons, 0), std::nullopt);
    }
    const auto deckOne = ProjectedPoint(Cameras()[0].second, Aspect, {3.5, -6.5, 3.0});
    EXPECT_EQ(PickAt(Cameras()[0].second, *deckOne, persons, 1), 3U);
}

// Seen from low over the floor, persons in a row hide each other: the one nearest the eye is
// picked, whichever comes first in the file.
TEST(PersonPicking, OfPrismsInARowTheNearestIsPicked) {
    TCamera side;
    side.Reset(40);
    side.TurnTo(TCameraPreset::Side); // from the bottom edge, -y, looking north
    side.FitToBox({-20, 20, -20, 20, 2}, Aspect);
    const std::vector<TPersonData> row = {StandingAt(0, 10, 0), StandingAt(0, -10, 0),
                                          StandingAt(0, 0, 0)};
    const auto seen = ProjectedPoint(side, Aspect, {0.5, 9.5, 1.0});
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(PickAt(side, *seen, row, 0), 1U);
}

// A way of a straight walk east, a deck up on the spot, and a walk north on the upper deck:
// drawn on each deck split where the step stands, with the deck change signed on both.
TEST(SelectedWay, IsSplitAtTheStepAndSignsTheDeckChangeOnBothDecks) {
    const std::vector<TWayPoint> way = {
        {0, 0, 0, 0}, {4, 4, 0, 0}, {5, 4, 0, 1}, {7, 4, 2, 1}, {9, 4, 2, 1}};
    TWayLines lines;
    BuildWayLines(way, 1, 0, lines);
    EXPECT_EQ(lines.Walked, (std::vector<float>{0.5f, -0.5f, 1.5f, -0.5f}));
    EXPECT_EQ(lines.ToCome, (std::vector<float>{1.5f, -0.5f, 4.5f, -0.5f}));
    ASSERT_EQ(lines.Signs.size(), 1U);
    EXPECT_EQ(lines.Signs[0].X, 4.5f);
    EXPECT_EQ(lines.Signs[0].Y, -0.5f);
    EXPECT_TRUE(lines.Signs[0].Up);

    BuildWayLines(way, 9, 1, lines);
    EXPECT_EQ(lines.Walked, (std::vector<float>{4.5f, -0.5f, 4.5f, 1.5f}));
    EXPECT_TRUE(lines.ToCome.empty()) << "standing at the end draws no line";
    ASSERT_EQ(lines.Signs.size(), 1U);
    EXPECT_TRUE(lines.Signs[0].Up);

    BuildWayLines(way, 4, 1, lines);
    EXPECT_TRUE(lines.Walked.empty());
    EXPECT_EQ(lines.ToCome.size(), 4U);
    BuildWayLines(way, 4, 2, lines);
    EXPECT_TRUE(lines.Walked.empty() && lines.ToCome.empty() && lines.Signs.empty());
}

} // namespace
