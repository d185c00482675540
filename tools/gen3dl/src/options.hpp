#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace gen3dl {

enum class Kind { Ship, Building };

// How persons share the floor. Queue: the whole crowd is walked together, one person a cell, and
// queues form where the way is taken. Shared: each person is walked on its own, persons may stand
// on one cell, and a stair's wait grows with the number of its earlier users; this is how the
// generator made every file before, kept so that benchmark files stay comparable.
enum class Crowding { Queue, Shared };

struct Options {
    std::uint64_t seed = 1;
    int decks = 3;
    int xmax = 150;
    int ymax = 40;
    long persons = 400;
    int vmax = 4;
    long toff = 0;
    Kind kind = Kind::Ship;
    Crowding crowding = Crowding::Queue;
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
