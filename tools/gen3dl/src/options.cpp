#include "options.hpp"

#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>

namespace gen3dl {
namespace {

// Keeps the grids, distance fields and person table within a few GB of memory.
constexpr long long kMaxCells = 100'000'000;

template <typename T> bool parseNumber(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

template <typename T> bool parseInRange(std::string_view text, T lo, T hi, T& value) {
    T v{};
    if (!parseNumber(text, v) || v < lo || v > hi) {
        return false;
    }
    value = v;
    return true;
}

bool parseKind(std::string_view text, Kind& kind) {
    if (text == "ship") {
        kind = Kind::Ship;
    } else if (text == "building") {
        kind = Kind::Building;
    } else {
        return false;
    }
    return true;
}

bool parseCrowding(std::string_view text, Crowding& crowding) {
    if (text == "queue") {
        crowding = Crowding::Queue;
    } else if (text == "shared") {
        crowding = Crowding::Shared;
    } else {
        return false;
    }
    return true;
}

// Applies one "--name value" pair; false if the value is not acceptable.
bool applyValue(std::string_view name, std::string_view value, Options& o) {
    if (name == "seed") {
        return parseNumber(value, o.seed);
    }
    if (name == "decks") {
        return parseInRange(value, 1, 100, o.decks);
    }
    if (name == "xmax") {
        return parseInRange(value, 8, 20000, o.xmax);
    }
    if (name == "ymax") {
        return parseInRange(value, 5, 20000, o.ymax);
    }
    if (name == "persons") {
        return parseInRange(value, 0L, 10'000'000L, o.persons);
    }
    if (name == "vmax") {
        return parseInRange(value, 1, 100, o.vmax);
    }
    if (name == "toff") {
        return parseInRange(value, -1'000'000'000L, 1'000'000'000L, o.toff);
    }
    if (name == "kind") {
        return parseKind(value, o.kind);
    }
    if (name == "crowding") {
        return parseCrowding(value, o.crowding);
    }
    if (name == "out") {
        o.out = std::string(value);
        return !value.empty();
    }
    if (name == "runs") {
        o.shortestRun = value == "on"     ? 3
                        : value == "long" ? 16
                                          : std::numeric_limits<std::uint64_t>::max();
        return value == "on" || value == "long" || value == "off";
    }
    if (name == "check") {
        o.check = std::string(value);
        return !value.empty();
    }
    return false;
}

bool knownName(std::string_view name) {
    static constexpr std::string_view kNames[] = {"seed",    "decks", "xmax", "ymax",
                                                  "persons", "vmax",  "toff", "kind",
                                                  "out",     "check", "runs", "crowding"};
    for (std::string_view n : kNames) {
        if (n == name) {
            return true;
        }
    }
    return false;
}

bool checkTotals(const Options& o, std::string& error) {
    const long long cells = static_cast<long long>(o.xmax) * o.ymax * o.decks;
    if (cells > kMaxCells) {
        error = "xmax * ymax * decks must not exceed " + std::to_string(kMaxCells);
        return false;
    }
    return true;
}

} // namespace

ParseResult parseOptions(int argc, char** argv, Options& opts, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return ParseResult::Help;
        }
        if (arg.substr(0, 2) != "--") {
            error = "unexpected argument '" + std::string(arg) + "'";
            return ParseResult::Error;
        }
        std::string_view name = arg.substr(2);
        std::string_view value;
        if (const auto eq = name.find('='); eq != std::string_view::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        } else if (knownName(name) && i + 1 < argc) {
            value = argv[++i];
        }
        if (!knownName(name)) {
            error = "unknown option '" + std::string(arg) + "'";
            return ParseResult::Error;
        }
        if (!applyValue(name, value, opts)) {
            error = "bad value '" + std::string(value) + "' for --" + std::string(name);
            return ParseResult::Error;
        }
    }
    return checkTotals(opts, error) ? ParseResult::Run : ParseResult::Error;
}

void printUsage(std::FILE* to) {
    std::fputs("usage: gen3dl [options]          write a generated 3D log file\n"
               "       gen3dl --check FILE       validate a 3D log file\n"
               "\n"
               "options (also accepted as --name=value):\n"
               "  --seed N      random seed; same options and seed give the same file (1)\n"
               "  --kind K      ship or building (ship)\n"
               "  --decks N     number of decks, 1..100 (3)\n"
               "  --xmax N      deck length in cells, 8..20000 (150)\n"
               "  --ymax N      deck width in cells, 5..20000 (40)\n"
               "  --persons N   number of persons, 0..10000000 (400)\n"
               "  --vmax N      time steps per second, 1..100 (4)\n"
               "  --toff N      time offset in seconds (0)\n"
               "  --runs on|long|off  moves folded into runs of 3 or more, of 16 or more only,\n"
               "                or every time step on its own (on)\n"
               "  --crowding queue|shared  one person a cell, the crowd walked together and\n"
               "                queueing; or each person walked on its own, cells shared, as the\n"
               "                benchmark files are made (queue)\n"
               "  --out FILE    output file (standard output)\n"
               "  --check FILE  parse FILE, check layout and every walk, and that no cell ever\n"
               "                holds two persons; exit 1 if invalid\n"
               "  --help        show this text\n",
               to);
}

} // namespace gen3dl
