#include "shared_cells.hpp"

#include "move_steps.hpp"

#include <limits>

namespace gen3dl {
namespace {

constexpr std::uint32_t kNobody = std::numeric_limits<std::uint32_t>::max();
// A table of who stands where costs four bytes a cell; beyond this it is not made.
constexpr long long kMostCells = 1LL << 28;

} // namespace

SharedCellCheck::SharedCellCheck(long long xmax, long long ymax, long long zmax)
    : xmax_(xmax), ymax_(ymax) {
    if (xmax <= kMostCells / ymax && xmax * ymax <= kMostCells / zmax) {
        owners_.assign(static_cast<std::size_t>(xmax * ymax * zmax), kNobody);
    }
}

void SharedCellCheck::start(long long x, long long y, long long z) {
    Walk w;
    w.x = x;
    w.y = y;
    w.z = z;
    walks_.push_back(w);
}

// An entry is one byte: the direction, bits for up and down, and a bit saying that a count
// follows, seven bits to a byte.
void SharedCellCheck::add(int dir, int dz, long long count) {
    std::uint8_t code = static_cast<std::uint8_t>(dir);
    code |= dz > 0 ? 0x10 : dz < 0 ? 0x20 : 0;
    code |= count > 1 ? 0x40 : 0;
    entries_.push_back(code);
    if (count > 1) {
        auto n = static_cast<unsigned long long>(count);
        while (n >= 0x80) {
            entries_.push_back(static_cast<std::uint8_t>(n | 0x80));
            n >>= 7;
        }
        entries_.push_back(static_cast<std::uint8_t>(n));
    }
}

void SharedCellCheck::endList() {
    Walk& w = walks_[listed_++];
    w.pos = listEnd_;
    w.end = entries_.size();
    listEnd_ = entries_.size();
}

bool SharedCellCheck::nextRun(Walk& w) {
    if (w.pos == w.end) {
        return false;
    }
    const std::uint8_t code = entries_[w.pos++];
    w.dir = code & 0x0f;
    w.dz = (code & 0x10) != 0 ? 1 : (code & 0x20) != 0 ? -1 : 0;
    w.left = 1;
    if ((code & 0x40) != 0) {
        unsigned long long n = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t b = entries_[w.pos++];
            n |= static_cast<unsigned long long>(b & 0x7f) << shift;
            if ((b & 0x80) == 0) {
                break;
            }
        }
        w.left = static_cast<long long>(n);
    }
    return true;
}

// Skips the runs in which the person stands; it is due at its next move, or when its list has
// run out, to leave.
void SharedCellCheck::schedule(std::uint32_t person, long long step) {
    Walk& w = walks_[person];
    while (w.left > 0 || nextRun(w)) {
        if (w.dir != 0 || w.dz != 0) {
            break;
        }
        step += w.left;
        w.left = 0;
    }
    events_.push({step, person});
}

std::uint32_t& SharedCellCheck::owner(const Walk& w) {
    return owners_[static_cast<std::size_t>((w.z * ymax_ + w.y) * xmax_ + w.x)];
}

std::optional<SharedCell> SharedCellCheck::firstSharedCell() {
    for (std::uint32_t p = 0; p < walks_.size(); ++p) {
        std::uint32_t& here = owner(walks_[p]);
        if (here != kNobody) {
            const Walk& w = walks_[p];
            return SharedCell{0, w.z, w.x, w.y, here, p};
        }
        here = p;
    }
    for (std::uint32_t p = 0; p < walks_.size(); ++p) {
        schedule(p, 0);
    }
    // All who move or leave at a step leave their cells before any arrives at a new one.
    std::vector<std::uint32_t> movers;
    while (!events_.empty()) {
        const long long step = events_.top().first;
        movers.clear();
        while (!events_.empty() && events_.top().first == step) {
            const std::uint32_t p = events_.top().second;
            events_.pop();
            owner(walks_[p]) = kNobody;
            if (walks_[p].left > 0) {
                movers.push_back(p);
            }
        }
        for (std::uint32_t p : movers) {
            Walk& w = walks_[p];
            w.x += kMoveDx[w.dir];
            w.y += kMoveDy[w.dir];
            w.z += w.dz;
            --w.left;
            std::uint32_t& there = owner(w);
            if (there != kNobody) {
                return SharedCell{step + 1, w.z, w.x, w.y, there, p};
            }
            there = p;
            schedule(p, step + 1);
        }
    }
    return std::nullopt;
}

} // namespace gen3dl
