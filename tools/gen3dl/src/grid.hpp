#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen3dl {

namespace code {
inline constexpr char kFree = '0';
inline constexpr char kWall = '1';
inline constexpr char kBlue = '2';
inline constexpr char kGrey = '3';
inline constexpr char kGreen = '4';
inline constexpr char kRed = '5';
inline constexpr char kVoid = '9';
} // namespace code

inline bool isWalkable(char c) {
    return c == code::kFree || (c >= code::kBlue && c <= code::kRed);
}
inline bool isStair(char c) {
    return c == code::kBlue || c == code::kGrey;
}

struct Step {
    int dx;
    int dy;
};

// Direction d moves a person by kSteps[d]; rows grow downwards, so 1 is "north".
inline constexpr std::array<Step, 9> kSteps{
    {{0, 0}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};

inline Step stepOf(int dir) {
    return kSteps[static_cast<std::size_t>(dir)];
}

// Index into a per-deck vector.
inline std::size_t at(int deck) {
    return static_cast<std::size_t>(deck);
}

// Inclusive cell rectangle.
struct Rect {
    int x0 = 0;
    int y0 = 0;
    int x1 = -1;
    int y1 = -1;

    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
    bool empty() const { return x1 < x0 || y1 < y0; }
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    Rect shrunk(int n) const { return {x0 + n, y0 + n, x1 - n, y1 - n}; }
};

// One deck. A ring of void cells around it lets neighbour look-ups skip bounds checks.
class Grid {
public:
    Grid() = default;
    Grid(int xmax, int ymax, char fill)
        : xmax_(xmax), ymax_(ymax),
          cells_(static_cast<std::size_t>(xmax + 2) * static_cast<std::size_t>(ymax + 2), fill) {
        for (int x = -1; x <= xmax; ++x) {
            cells_[index(x, -1)] = code::kVoid;
            cells_[index(x, ymax)] = code::kVoid;
        }
        for (int y = -1; y <= ymax; ++y) {
            cells_[index(-1, y)] = code::kVoid;
            cells_[index(xmax, y)] = code::kVoid;
        }
    }

    int xmax() const { return xmax_; }
    int ymax() const { return ymax_; }
    std::size_t size() const { return cells_.size(); }
    std::size_t stride() const { return static_cast<std::size_t>(xmax_) + 2; }

    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y + 1) * stride() + static_cast<std::size_t>(x + 1);
    }
    int xOf(std::size_t i) const { return static_cast<int>(i % stride()) - 1; }
    int yOf(std::size_t i) const { return static_cast<int>(i / stride()) - 1; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < xmax_ && y < ymax_; }

    char at(int x, int y) const { return cells_[index(x, y)]; }
    void set(int x, int y, char c) { cells_[index(x, y)] = c; }
    char operator[](std::size_t i) const { return cells_[i]; }
    const char* data() const { return cells_.data(); }

    // Index of the neighbour in direction dir (unsigned wrap-around makes negative steps work).
    std::size_t neighbour(std::size_t i, int dir) const {
        const Step s = stepOf(dir);
        return i + static_cast<std::size_t>(s.dy) * stride() + static_cast<std::size_t>(s.dx);
    }

    // A person may step onto a walkable cell, but not slip diagonally past a wall corner.
    bool canMove(std::size_t from, int dir) const {
        if (!isWalkable(cells_[neighbour(from, dir)])) {
            return false;
        }
        const Step s = stepOf(dir);
        if (s.dx == 0 || s.dy == 0) {
            return true;
        }
        return isWalkable(cells_[from + static_cast<std::size_t>(s.dx)]) &&
               isWalkable(cells_[from + static_cast<std::size_t>(s.dy) * stride()]);
    }

private:
    int xmax_ = 0;
    int ymax_ = 0;
    std::vector<char> cells_;
};

} // namespace gen3dl
