#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <queue>
#include <utility>
#include <vector>

namespace gen3dl {

// Two persons on one cell at one step of the replay (the state after `step` entries).
struct SharedCell {
    long long step = 0;
    long long z = 0;
    long long x = 0;
    long long y = 0;
    long long first = 0;  // the person that stood there, counted from 0
    long long second = 0; // the one that came too
};

// Keeps every person's start and move list as the checker reads them (compactly: a byte per
// entry or run), then replays all persons together to find the first step at which two of them
// stand on one cell. A person stands on its last cell at the step its list runs out and is gone
// at the next, so a cell is free for a move made at that next step.
class SharedCellCheck {
public:
    SharedCellCheck(long long xmax, long long ymax, long long zmax);

    // The decks' cells are too many for a table of who stands where.
    bool tooLarge() const { return owners_.empty(); }

    // Starts, then lists, one person after another in the order of the file.
    void start(long long x, long long y, long long z);
    void add(int dir, int dz, long long count);
    void endList();

    std::optional<SharedCell> firstSharedCell();

private:
    struct Walk {
        std::uint64_t pos = 0; // next byte of its entries
        std::uint64_t end = 0;
        long long x = 0, y = 0, z = 0;
        long long left = 0; // entries left in the run at hand
        int dir = 0;
        int dz = 0;
    };
    using Event = std::pair<long long, std::uint32_t>; // step, person

    bool nextRun(Walk& w);
    void schedule(std::uint32_t person, long long step);
    std::uint32_t& owner(const Walk& w);

    long long xmax_, ymax_;
    std::size_t listed_ = 0;    // persons whose lists are complete
    std::uint64_t listEnd_ = 0; // where the last complete list ends
    std::vector<std::uint32_t> owners_;
    std::vector<std::uint8_t> entries_;
    std::vector<Walk> walks_;
    std::priority_queue<Event, std::vector<Event>, std::greater<>> events_;
};

} // namespace gen3dl
