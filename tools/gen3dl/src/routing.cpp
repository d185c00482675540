#include "routing.hpp"

#include <stdexcept>

namespace gen3dl {

Field distanceField(const Grid& grid, const std::vector<std::size_t>& targets) {
    Field dist(grid.size(), kUnreached);
    std::vector<std::uint32_t> queue;
    queue.reserve(grid.size() / 2);
    for (std::size_t t : targets) {
        if (dist[t] == kUnreached) {
            dist[t] = 0;
            queue.push_back(static_cast<std::uint32_t>(t));
        }
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::size_t i = queue[head];
        const std::uint32_t next = dist[i] + 1;
        for (int d = 1; d <= 8; ++d) {
            const std::size_t n = grid.neighbour(i, d);
            // Moves are symmetric, so "can step from i to n" equals "can step from n to i".
            if (dist[n] == kUnreached && grid.canMove(i, d)) {
                dist[n] = next;
                queue.push_back(static_cast<std::uint32_t>(n));
            }
        }
    }
    return dist;
}

std::vector<std::size_t> stairTargets(const Grid& here, const Grid& next, const Field& nextField) {
    std::vector<std::size_t> targets;
    for (std::size_t i = 0; i < here.size(); ++i) {
        if (isStair(here[i]) && isStair(next[i]) && nextField[i] != kUnreached) {
            targets.push_back(i);
        }
    }
    return targets;
}

namespace {

// Hands `take` each direction that brings cell i one step nearer its target, best first, until
// it returns true. Returns false if it never did.
template <typename Take>
bool visitDownhill(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot,
                   Take take) {
    const std::uint32_t here = field[i];
    const auto better = [&](int d) {
        return field[grid.neighbour(i, d)] == here - 1 && grid.canMove(i, d);
    };
    if (prefer >= 1 && prefer <= 8 && better(prefer) && take(prefer)) {
        return true;
    }
    // Straight steps before diagonal ones: people walk straight along a corridor rather than
    // zigzag across it, although both are equally short on this grid.
    for (int k = 0; k < 8; ++k) {
        const int d = k < 4 ? 1 + 2 * ((rot + k) % 4) : 2 + 2 * ((rot + k) % 4);
        if (d != prefer && better(d) && take(d)) {
            return true;
        }
    }
    return false;
}

} // namespace

int downhillSteps(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot,
                  std::array<int, 8>& dirs) {
    if (field[i] == 0) {
        return 0;
    }
    int count = 0;
    visitDownhill(grid, field, i, prefer, rot, [&](int d) {
        dirs[static_cast<std::size_t>(count++)] = d;
        return false;
    });
    if (count == 0) {
        throw std::logic_error("distance field has no downhill step");
    }
    return count;
}

// Asked at every step of every walk, so it stops at the first step found.
int downhill(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot) {
    if (field[i] == 0) {
        return 0;
    }
    int best = 0;
    if (!visitDownhill(grid, field, i, prefer, rot, [&](int d) {
            best = d;
            return true;
        })) {
        throw std::logic_error("distance field has no downhill step");
    }
    return best;
}

} // namespace gen3dl
