#include "persons.hpp"

#include "rng.hpp"

#include <stdexcept>

namespace gen3dl {
namespace {

// Anywhere on the floor, coloured or not, except on stairs and exits, if a way out exists.
bool canStart(const World& w, int z, std::size_t i) {
    const char c = w.deck(z)[i];
    const bool floor = c == code::kFree || c == code::kGreen || c == code::kRed;
    const std::uint32_t d = w.field(z)[i];
    return floor && d != kUnreached && d > 0;
}

std::vector<std::uint64_t> startCellsPerDeck(const World& w) {
    std::vector<std::uint64_t> counts(at(w.zmax), 0);
    for (int z = 0; z < w.zmax; ++z) {
        for (std::size_t i = 0; i < w.deck(z).size(); ++i) {
            counts[at(z)] += canStart(w, z, i) ? 1u : 0u;
        }
    }
    return counts;
}

// Picks a deck with probability proportional to its number of start cells.
int pickDeck(const std::vector<std::uint64_t>& counts, std::uint64_t total, Rng& rng) {
    std::uint64_t r = rng.below(total);
    for (std::size_t z = 0; z < counts.size(); ++z) {
        if (r < counts[z]) {
            return static_cast<int>(z);
        }
        r -= counts[z];
    }
    return static_cast<int>(counts.size()) - 1;
}

class Placer {
public:
    Placer(const World& w, bool distinct, std::uint64_t seed)
        : w_(w), distinct_(distinct), rng_(deriveSeed(seed, 0x2000)) {
        if (distinct_) {
            taken_.resize(at(w.zmax));
            for (int z = 0; z < w.zmax; ++z) {
                taken_[at(z)].assign(w.deck(z).size(), false);
            }
        }
    }

    Rng& rng() { return rng_; }

    // Random tries first; if the deck is crowded, the next usable cell after a random one.
    std::size_t pickCell(int z) {
        const std::size_t size = w_.deck(z).size();
        for (int attempt = 0; attempt < 64; ++attempt) {
            const std::size_t i = rng_.below(size);
            if (usable(z, i)) {
                return take(z, i);
            }
        }
        const std::size_t start = rng_.below(size);
        for (std::size_t k = 0; k < size; ++k) {
            const std::size_t i = (start + k) % size;
            if (usable(z, i)) {
                return take(z, i);
            }
        }
        distinct_ = false; // every start cell is taken: share cells from now on
        return pickCell(z);
    }

private:
    bool usable(int z, std::size_t i) const {
        return canStart(w_, z, i) && (!distinct_ || !taken_[at(z)][i]);
    }
    std::size_t take(int z, std::size_t i) {
        if (distinct_) {
            taken_[at(z)][i] = true;
        }
        return i;
    }

    const World& w_;
    bool distinct_;
    Rng rng_;
    std::vector<std::vector<bool>> taken_;
};

std::uint8_t pickAttribute(Rng& rng) {
    const int r = rng.range(0, 99);
    if (r < 70) {
        return kPassenger;
    }
    if (r < 80) {
        return kCrew;
    }
    return r < 90 ? kReducedMobility : kFamily;
}

} // namespace

std::vector<Person> placePersons(const World& w, long count, std::uint64_t seed) {
    std::vector<Person> persons;
    if (count <= 0) {
        return persons;
    }
    const auto counts = startCellsPerDeck(w);
    std::uint64_t total = 0;
    for (std::uint64_t c : counts) {
        total += c;
    }
    if (total == 0) {
        throw std::invalid_argument("the layout has no floor from which an exit can be reached");
    }
    // Distinct start cells look right; once the decks get crowded, people may share cells.
    Placer placer(w, static_cast<std::uint64_t>(count) <= total / 2, seed);
    persons.reserve(static_cast<std::size_t>(count));
    for (long k = 0; k < count; ++k) {
        const int z = pickDeck(counts, total, placer.rng());
        const std::size_t i = placer.pickCell(z);
        const Grid& g = w.deck(z);
        const int rot = placer.rng().range(0, 7);
        const int heading = downhill(g, w.field(z), i, 0, rot);
        persons.push_back({static_cast<std::uint16_t>(g.xOf(i)),
                           static_cast<std::uint16_t>(g.yOf(i)), static_cast<std::uint8_t>(z),
                           static_cast<std::uint8_t>(heading), pickAttribute(placer.rng())});
    }
    return persons;
}

} // namespace gen3dl
