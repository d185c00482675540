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

int downhillSteps(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot,
                  std::array<int, 8>& dirs) {
    const std::uint32_t here = field[i];
    if (here == 0) {
        return 0;
    }
    const auto better = [&](int d) {
        return field[grid.neighbour(i, d)] == here - 1 && grid.canMove(i, d);
    };
    int count = 0;
    if (prefer >= 1 && prefer <= 8 && better(prefer)) {
        dirs[0] = prefer;
        count = 1;
    }
    // Straight steps before diagonal ones: people walk straight along a corridor rather than
    // zigzag across it, although both are equally short on this grid.
    for (int k = 0; k < 8; ++k) {
        const int d = k < 4 ? 1 + 2 * ((rot + k) % 4) : 2 + 2 * ((rot + k) % 4);
        if (d != prefer && better(d)) {
            dirs[static_cast<std::size_t>(count++)] = d;
        }
    }
    if (count == 0) {
        throw std::logic_error("distance field has no downhill step");
    }
    return count;
}

int downhill(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot) {
    const std::uint32_t here = field[i];
    if (here == 0) {
        return 0;
    }
    // Asked at every step of every walk: the usual answer, straight on, comes first.
    if (prefer >= 1 && prefer <= 8 && field[grid.neighbour(i, prefer)] == here - 1 &&
        grid.canMove(i, prefer)) {
        return prefer;
    }
    std::array<int, 8> dirs{};
    downhillSteps(grid, field, i, prefer, rot, dirs);
    return dirs[0];
}

} // namespace gen3dl
