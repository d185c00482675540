#pragma once

#include "options.hpp"

namespace gen3dl {

// Builds the decks and persons for `opts` and writes the file. Returns the process exit code:
// 0 on success, 1 if the output could not be written, 2 if the options admit no layout.
int generate(const Options& opts);

} // namespace gen3dl
