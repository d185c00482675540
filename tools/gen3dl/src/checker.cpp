#include "checker.hpp"

#include "move_steps.hpp"
#include "shared_cells.hpp"
#include "token_reader.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace gen3dl {
namespace {

// A structural problem after which the rest of the file cannot be read sensibly.
struct Fatal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kMaxReported = 20;
constexpr long long kMaxCells = 4'000'000'000LL; // all decks together, one byte each

bool parseLong(std::string_view s, long long& v) {
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size() && !s.empty();
}

// "P<n>x<c>" with n >= 1 and a single character c.
bool parseRun(std::string_view s, long long& n, char& c) {
    if (s.size() < 4 || s[0] != 'P' || s[s.size() - 2] != 'x') {
        return false;
    }
    c = s.back();
    return parseLong(s.substr(1, s.size() - 3), n) && n >= 1;
}

struct Position {
    long long x;
    long long y;
    long long z;
};

struct Stats {
    long long longest = 0;
    long long deckChanges = 0;
    long long endedAtOuterWall = 0;
};

class Checker {
public:
    explicit Checker(TokenReader& in) : in_(in) {}
    bool run();

private:
    std::string word(const char* what);
    void expect(std::string_view w);
    long long number(const char* what, long long lo, long long hi);
    void header();
    void deck();
    void cellRow(std::vector<char>& cells, long long y);
    void startPositions();
    void moveList(long long person);
    const char* applyMoves(Position& p, int dir, long long count, int dz, long long& n) const;
    bool walkable(const Position& p) const;
    bool diagonalClear(const Position& from, int dir) const;
    bool atOuterWall(const Position& p) const;
    void problem(long long person, const std::string& text);
    void skipToEndOfList();
    bool noSharedCells();

    TokenReader& in_;
    std::string w_;
    std::map<std::string, long long> head_;
    long long xmax_ = 0;
    long long ymax_ = 0;
    long long zmax_ = 0;
    long long pmax_ = 0;
    std::vector<std::vector<char>> decks_;
    std::vector<std::string> captions_;
    std::optional<SharedCellCheck> shared_;
    std::vector<Position> starts_;
    Stats stats_;
    long long problems_ = 0;
};

std::string Checker::word(const char* what) {
    if (!in_.next(w_)) {
        throw Fatal(std::string("unexpected end of file, expected ") + what);
    }
    return w_;
}

void Checker::expect(std::string_view w) {
    const std::string got = word(std::string(w).c_str());
    if (got != w) {
        throw Fatal("expected '" + std::string(w) + "', found '" + got + "'");
    }
}

long long Checker::number(const char* what, long long lo, long long hi) {
    long long v = 0;
    const std::string got = word(what);
    if (!parseLong(got, v) || v < lo || v > hi) {
        throw Fatal(std::string("bad ") + what + " '" + got + "'");
    }
    return v;
}

void Checker::header() {
    expect("<header>");
    for (std::string key = word("header key"); key != "</header>"; key = word("header key")) {
        if (head_.count(key) != 0) {
            throw Fatal("header key '" + key + "' given twice");
        }
        head_[key] = number(key.c_str(), -2'000'000'000LL, 2'000'000'000LL);
    }
    for (const char* key : {"pmax", "xmax", "ymax", "zmax", "vmax", "toff", "version"}) {
        if (head_.count(key) == 0) {
            throw Fatal(std::string("header lacks '") + key + "'");
        }
    }
    pmax_ = head_["pmax"];
    xmax_ = head_["xmax"];
    ymax_ = head_["ymax"];
    zmax_ = head_["zmax"];
    if (head_["version"] != 1 || pmax_ < 0 || xmax_ < 1 || ymax_ < 1 || zmax_ < 1 ||
        head_["vmax"] < 1) {
        throw Fatal("header values out of range");
    }
    if (xmax_ > kMaxCells / ymax_ || xmax_ * ymax_ > kMaxCells / zmax_) {
        throw Fatal("decks too large to check");
    }
    decks_.resize(static_cast<std::size_t>(zmax_));
    captions_.resize(static_cast<std::size_t>(zmax_));
    shared_.emplace(xmax_, ymax_, zmax_);
}

void Checker::cellRow(std::vector<char>& cells, long long y) {
    long long x = 0;
    while (x < xmax_) {
        const std::string t = word("cell");
        if (x == 0 && !in_.newlineBefore()) {
            throw Fatal(y > 0 ? "row " + std::to_string(y - 1) + " is longer than xmax"
                              : std::string("row 0 does not start on a new line"));
        }
        if (x > 0 && in_.newlineBefore()) {
            throw Fatal("row " + std::to_string(y) + " is shorter than xmax");
        }
        long long n = 1;
        char c = t[0];
        if (t.size() != 1 && !parseRun(t, n, c)) {
            throw Fatal("bad cell code '" + t + "' in row " + std::to_string(y));
        }
        if (t == "P") {
            throw Fatal("bare 'P' in row " + std::to_string(y));
        }
        if (x + n > xmax_) {
            throw Fatal("row " + std::to_string(y) + " is longer than xmax");
        }
        for (long long k = 0; k < n; ++k) {
            cells[static_cast<std::size_t>(y * xmax_ + x + k)] = c;
        }
        x += n;
    }
}

void Checker::deck() {
    expect("<deck>");
    expect("caption");
    std::string caption = in_.restOfLine();
    if (caption.empty()) {
        throw Fatal("empty deck caption");
    }
    expect("level");
    const long long level = number("level", 0, zmax_ - 1);
    captions_[static_cast<std::size_t>(level)] = std::move(caption);
    if (!decks_[static_cast<std::size_t>(level)].empty()) {
        throw Fatal("level " + std::to_string(level) + " given twice");
    }
    expect("(celldata)");
    std::vector<char> cells(static_cast<std::size_t>(xmax_ * ymax_));
    for (long long y = 0; y < ymax_; ++y) {
        cellRow(cells, y);
    }
    expect("</deck>");
    if (!in_.newlineBefore()) {
        throw Fatal("last row of a deck is longer than xmax");
    }
    decks_[static_cast<std::size_t>(level)] = std::move(cells);
}

bool Checker::walkable(const Position& p) const {
    if (p.z < 0 || p.z >= zmax_ || p.x < 0 || p.y < 0 || p.x >= xmax_ || p.y >= ymax_) {
        return false;
    }
    const char c =
        decks_[static_cast<std::size_t>(p.z)][static_cast<std::size_t>(p.y * xmax_ + p.x)];
    return c == '0' || c == '2' || c == '3' || c == '4' || c == '5';
}

bool Checker::diagonalClear(const Position& from, int dir) const {
    if (kMoveDx[dir] == 0 || kMoveDy[dir] == 0) {
        return true;
    }
    return walkable({from.x + kMoveDx[dir], from.y, from.z}) &&
           walkable({from.x, from.y + kMoveDy[dir], from.z});
}

bool Checker::atOuterWall(const Position& p) const {
    for (int d = 1; d <= 8; ++d) {
        const Position n{p.x + kMoveDx[d], p.y + kMoveDy[d], p.z};
        if (n.x < 0 || n.y < 0 || n.x >= xmax_ || n.y >= ymax_) {
            return true;
        }
        const char c =
            decks_[static_cast<std::size_t>(p.z)][static_cast<std::size_t>(n.y * xmax_ + n.x)];
        if (c != '1' && !walkable(n)) {
            return true;
        }
    }
    return false;
}

void Checker::startPositions() {
    expect("<persons>");
    expect("<startpositions>");
    starts_.reserve(static_cast<std::size_t>(std::min(pmax_, 1LL << 24)));
    for (long long k = 0; k < pmax_; ++k) {
        const long long x = number("start column", 0, xmax_ - 1);
        const long long y = number("start row", 0, ymax_ - 1);
        const long long z = number("start level", 0, zmax_ - 1);
        number("heading", 1, 8);
        number("attribute", -2'000'000'000LL, 2'000'000'000LL);
        starts_.push_back({x, y, z});
        shared_->start(x, y, z);
        if (!walkable(starts_.back())) {
            problem(k, "starts on a cell that is not walkable");
        }
    }
    expect("(movement)");
}

void Checker::problem(long long person, const std::string& text) {
    if (++problems_ <= kMaxReported) {
        std::fprintf(stderr, "line %ld: person %lld %s\n", in_.line(), person + 1, text.c_str());
    }
}

void Checker::skipToEndOfList() {
    while (w_ != "S") {
        word("S");
    }
}

// Applies `count` entries of direction `dir`, changing deck by `dz`; `n` counts the entries
// taken so far. Returns what went wrong, or nullptr.
const char* Checker::applyMoves(Position& p, int dir, long long count, int dz, long long& n) const {
    if (dir == 0 && dz == 0) {
        if (count > std::numeric_limits<long long>::max() - n) {
            return "has more entries than can be counted";
        }
        n += count;
        return nullptr;
    }
    for (long long k = 0; k < count; ++k) {
        const Position from = p;
        p = {p.x + kMoveDx[dir], p.y + kMoveDy[dir], p.z + dz};
        if (p.z < 0 || p.z >= zmax_) {
            return "changes to a deck that does not exist";
        }
        if (!walkable(p)) {
            return "steps onto a cell that is not walkable";
        }
        if (!diagonalClear({from.x, from.y, p.z}, dir)) {
            return "cuts diagonally past a wall corner";
        }
        ++n;
    }
    return nullptr;
}

void Checker::moveList(long long person) {
    Position p = starts_[static_cast<std::size_t>(person)];
    long long n = 0;
    for (bool first = true;; first = false) {
        const std::string t = word("move or S");
        if (first != in_.newlineBefore()) {
            throw Fatal("move list of person " + std::to_string(person + 1) +
                        " is not on a line of its own, ended by S");
        }
        if (t == "S") {
            shared_->endList();
            break;
        }
        long long count = 1;
        char c = t[0];
        int dz = 0;
        if ((t[0] == 'U' || t[0] == 'D') && t.size() == 2) {
            dz = t[0] == 'U' ? 1 : -1;
            c = t[1];
            ++stats_.deckChanges;
        } else if (t.size() != 1 && !parseRun(t, count, c)) {
            c = '?';
        }
        if (c < '0' || c > '8') {
            problem(person, "has a bad move '" + t + "'");
            return skipToEndOfList();
        }
        if (const char* why = applyMoves(p, c - '0', count, dz, n)) {
            problem(person,
                    std::string(why) + " with '" + t + "' after " + std::to_string(n) + " entries");
            return skipToEndOfList();
        }
        shared_->add(c - '0', dz, count);
    }
    stats_.longest = std::max(stats_.longest, n);
    stats_.endedAtOuterWall += atOuterWall(p) ? 1 : 0;
}

// Persons are counted from 1 and decks from 0, as the viewer counts them.
bool Checker::noSharedCells() {
    if (shared_->tooLarge()) {
        return true;
    }
    const std::optional<SharedCell> shared = shared_->firstSharedCell();
    if (!shared) {
        return true;
    }
    std::fprintf(stderr,
                 "step %lld: persons %lld and %lld stand on one cell, column %lld, row %lld of "
                 "deck %lld (%s)\n",
                 shared->step, shared->first + 1, shared->second + 1, shared->x, shared->y,
                 shared->z, captions_[static_cast<std::size_t>(shared->z)].c_str());
    return false;
}

bool Checker::run() {
    header();
    for (long long z = 0; z < zmax_; ++z) {
        deck();
    }
    startPositions();
    for (long long k = 0; k < pmax_; ++k) {
        moveList(k);
    }
    expect("</persons>");
    if (in_.next(w_)) {
        throw Fatal("unexpected '" + w_ + "' after </persons>");
    }
    if (problems_ > 0) {
        std::fprintf(stderr, "%lld problem(s) with persons\n", problems_);
        return false;
    }
    if (!noSharedCells()) {
        return false;
    }
    const double seconds = static_cast<double>(stats_.longest) / static_cast<double>(head_["vmax"]);
    std::printf("ok: %lld deck(s) of %lld x %lld cells, %lld persons, longest list %lld steps "
                "(%.1f s), %lld deck changes, %lld persons end at the outer wall, %s\n",
                zmax_, xmax_, ymax_, pmax_, stats_.longest, seconds, stats_.deckChanges,
                stats_.endedAtOuterWall,
                shared_->tooLarge() ? "decks too large to look for shared cells"
                                    : "never two on one cell");
    return true;
}

} // namespace

int checkFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        std::perror(path.c_str());
        return 1;
    }
    TokenReader in(f);
    bool ok = false;
    try {
        Checker checker(in);
        ok = checker.run();
    } catch (const Fatal& e) {
        std::fprintf(stderr, "%s:%ld: %s\n", path.c_str(), in.line(), e.what());
    }
    if (in.readFailed()) {
        std::fprintf(stderr, "%s: read error\n", path.c_str());
        ok = false;
    }
    std::fclose(f);
    return ok ? 0 : 1;
}

} // namespace gen3dl
