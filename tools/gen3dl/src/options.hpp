#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace gen3dl {

enum class Kind { Ship, Building };

struct Options {
    std::uint64_t seed = 1;
    int decks = 3;
    int xmax = 150;
    int ymax = 40;
    long persons = 400;
    int vmax = 4;
    long toff = 0;
    Kind kind = Kind::Ship;
    // Runs of this many equal moves or more are folded into P<n>x<d>; shorter ones are written
    // a time step each.
    std::uint64_t shortestRun = 3;
    std::string out;   // empty: standard output
    std::string check; // non-empty: validate this file instead of generating
};

enum class ParseResult { Run, Help, Error };

ParseResult parseOptions(int argc, char** argv, Options& opts, std::string& error);
void printUsage(std::FILE* to);

} // namespace gen3dl
