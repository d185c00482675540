#pragma once
// Log files of a few hundred bytes whose headers announce huge grids, many decks or many persons:
// what a file holds, not what it announces, must decide the memory they take.

#include <string>
#include <vector>

inline std::vector<std::string> TinyLogsWithHugeHeaders() {
    const auto header = [](const std::string& values) {
        return "<header>\nversion 1\n" + values + "\nvmax 1\n</header>\n";
    };
    return {
        header("pmax 1\nxmax 2147483647\nymax 1\nzmax 1"),
        // A row the header makes as wide as can be, of which the file gives three cells.
        header("pmax 1\nxmax 2147483647\nymax 1\nzmax 1") + "<deck>\nlevel 0\n(celldata)\n0 0 0\n",
        header("pmax 1\nxmax 46340\nymax 46340\nzmax 1"),
        header("pmax 1\nxmax 1520\nymax 3999\nzmax 300"),
        header("pmax 100000000\nxmax 4\nymax 4\nzmax 1") +
            "<persons>\n<startpositions>\n0 0 0 1 0\n(movement)\n3 S\n</persons>\n",
        // Cut before zmax, as a fuzzer found it.
        "<header>\npma6xheader>\npmax 400\nxmax 1111150\nymax 400\nz xP ",
    };
}

// The one of them that announces a hundred million persons.
constexpr std::size_t TinyLogOfManyPersons = 4;
