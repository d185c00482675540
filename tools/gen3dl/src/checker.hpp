#pragma once

#include <string>

namespace gen3dl {

// Parses a 3D log file independently of the generator and checks that every row of cells adds
// up to xmax and that every person walks only on walkable cells, changes deck only onto a
// walkable cell of an existing deck and ends its list with S. Prints a summary on success and
// the first problems otherwise. Returns 0 if valid, 1 if not or unreadable.
int checkFile(const std::string& path);

} // namespace gen3dl
