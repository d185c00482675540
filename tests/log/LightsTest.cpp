// The eight light slots of a deck: the first grid, adding at a point and removing the nearest.

#include "Deck.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Every slot as "-" when off or "x,y" when on, then the count the deck keeps.
std::string Slots(const TDeck& deck) {
    std::ostringstream out;
    for (const TLight& light : deck.Lights) {
        EXPECT_EQ(light.Position[2], 10.0f);
        if (light.SwitchedOn) {
            out << light.Position[0] << ',' << light.Position[1] << ' ';
        } else {
            out << "- ";
        }
    }
    out << "count " << deck.LightCount;
    return out.str();
}

} // namespace

TEST(Lights, FirstGridIsEvenAndHoldsAtMostEight) {
    const struct {
        std::int32_t X, Y;
        const char* Slots;
    } cases[] = {
        {150, 80, "0,0 - - - - - - - count 1"},
        {0, -5, "0,0 - - - - - - - count 1"},
        {300, 300, "-50,-50 50,-50 -50,50 50,50 - - - - count 4"},
        {1000, 500, "-375,0 -250,0 -125,0 0,0 125,0 250,0 375,0 - count 7"},
        // 999 x 999 shrinks by turns, rows first, to 3 x 2; divisions truncate.
        {100000, 100000,
         "-25000,-16667 0,-16667 25000,-16667 -25000,16666 0,16666 25000,16666 - - count 6"},
    };
    for (const auto& c : cases) {
        TDeck deck;
        deck.PlaceInitialLights(c.X, c.Y);
        EXPECT_EQ(Slots(deck), c.Slots) << c.X << " x " << c.Y;
    }
}

TEST(Lights, NinthLightMovesTheNearestOne) {
    TDeck deck;
    for (int i = 0; i < DeckLightSlots; ++i) {
        deck.AddLightAt(static_cast<float>(10 * i), 0.0f);
    }
    deck.AddLightAt(31.0f, 4.0f);
    EXPECT_EQ(Slots(deck), "0,0 10,0 20,0 31,4 40,0 50,0 60,0 70,0 count 8");
}

TEST(Lights, DistancesAreTruncatedAndTheLowerSlotWinsATie) {
    TDeck deck;
    deck.AddLightAt(3.9f, 0.0f);
    deck.AddLightAt(0.0f, -3.2f); // nearer to the origin, but also 3 in whole cells
    for (int i = 2; i < DeckLightSlots; ++i) {
        deck.AddLightAt(100.0f, static_cast<float>(100 * i));
    }
    deck.AddLightAt(0.0f, 0.0f);
    EXPECT_EQ(Slots(deck).substr(0, 12), "0,0 0,-3.2 1");
    deck.RemoveNearestLight(0.5f, -3.2f);
    EXPECT_EQ(Slots(deck).substr(0, 6), "0,0 - ");
    deck.AddLightAt(0.5f, 0.5f); // the freed slot is used again
    deck.RemoveNearestLight(0.0f, 0.0f);
    EXPECT_EQ(Slots(deck).substr(0, 10), "- 0.5,0.5 ");
    EXPECT_EQ(deck.LightCount, 7);
}

TEST(Lights, RemovingWhenNoneIsOnDoesNothing) {
    TDeck deck;
    deck.RemoveNearestLight(0.0f, 0.0f);
    EXPECT_EQ(Slots(deck), "- - - - - - - - count 0");
}
