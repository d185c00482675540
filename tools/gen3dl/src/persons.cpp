#include "persons.hpp"

#include "rng.hpp"

#include <stdexcept>
#include <string>

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

// Puts persons on start cells, one on a cell while `distinct`. When a deck's start cells are all
// taken, a person picks another deck with room if `shareWhenFull` is off; otherwise persons share
// cells from then on, everywhere.
class Placer {
public:
    Placer(const World& w, const std::vector<std::uint64_t>& counts, std::uint64_t seed,
           bool distinct, bool shareWhenFull)
        : w_(w), counts_(counts), free_(counts), distinct_(distinct), shareWhenFull_(shareWhenFull),
          rng_(deriveSeed(seed, 0x2000)) {
        for (std::uint64_t c : counts) {
            total_ += c;
        }
        left_ = total_;
        if (distinct_) {
            taken_.resize(at(w.zmax));
            for (int z = 0; z < w.zmax; ++z) {
                taken_[at(z)].assign(w.deck(z).size(), false);
            }
        }
    }

    Rng& rng() { return rng_; }

    // A deck with the chance of its share of the start cells; once it is full, of its share of
    // the cells left, unless persons share cells.
    int pickDeck() {
        const int z = gen3dl::pickDeck(counts_, total_, rng_);
        if (!distinct_ || shareWhenFull_ || free_[at(z)] > 0) {
            return z;
        }
        return gen3dl::pickDeck(free_, left_, rng_);
    }

    // Random tries first; if the deck is crowded, the next free cell after a random one.
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
        // Every start cell of the deck is taken; pickDeck() only chooses such a deck when
        // persons may share cells.
        distinct_ = false;
        return pickCell(z);
    }

private:
    bool usable(int z, std::size_t i) const {
        return canStart(w_, z, i) && (!distinct_ || !taken_[at(z)][i]);
    }
    std::size_t take(int z, std::size_t i) {
        if (distinct_) {
            taken_[at(z)][i] = true;
            --free_[at(z)];
            --left_;
        }
        return i;
    }

    const World& w_;
    std::vector<std::uint64_t> counts_;
    std::vector<std::uint64_t> free_;
    bool distinct_;
    bool shareWhenFull_;
    std::uint64_t total_ = 0;
    std::uint64_t left_ = 0;
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

std::vector<Person> placePersons(const World& w, long count, std::uint64_t seed,
                                 Crowding crowding) {
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
    const auto wanted = static_cast<std::uint64_t>(count);
    const bool shared = crowding == Crowding::Shared;
    if (!shared && wanted > total) {
        throw std::invalid_argument(std::to_string(count) + " persons do not fit: the decks have " +
                                    std::to_string(total) +
                                    " cells to start on, and one person stands on a cell");
    }
    // Where persons may share cells, they start on distinct ones while the decks are at most half
    // full, and share from the start on more crowded decks.
    Placer placer(w, counts, seed, !shared || wanted <= total / 2, shared);
    persons.reserve(static_cast<std::size_t>(count));
    for (long k = 0; k < count; ++k) {
        const int z = placer.pickDeck();
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
