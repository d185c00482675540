#pragma once

#include <cstdint>

namespace gen3dl {

// SplitMix64: tiny, fast and exactly defined, so a seed gives the same file with any compiler
// or standard library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, n); the modulo bias is far too small to matter for layouts.
    std::uint64_t below(std::uint64_t n) { return n == 0 ? 0 : next() % n; }

    // Uniform in [lo, hi], both inclusive.
    int range(int lo, int hi) {
        if (hi <= lo) {
            return lo;
        }
        return lo + static_cast<int>(below(static_cast<std::uint64_t>(hi - lo) + 1));
    }

    // True with probability percent / 100.
    bool percent(int percent) { return static_cast<int>(below(100)) < percent; }

private:
    std::uint64_t state_;
};

// Derives an independent stream, so each person's walk does not depend on how many random
// numbers the persons before it used.
inline std::uint64_t deriveSeed(std::uint64_t seed, std::uint64_t salt) {
    Rng r(seed ^ (salt * 0xD1B54A32D192ED03ull + 0x632BE59BD9B4E019ull));
    r.next();
    return r.next();
}

} // namespace gen3dl
