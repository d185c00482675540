#pragma once
// The words for an exit or a stair wherever the window shows one: the Flows tab's list and
// legend, the labels on the floor and their tool tips. The deck is named by its caption, the
// place by the range of its cells as the file counts columns and rows.

#include "Flows.h"

#include <QString>

class TLogFile;

// "Exit on Deck 3 - Boat deck, cells 15, 0 to 16, 0"; "cell 135, 9" for a single cell.
QString FlowPlaceName(const TFlowPlace& place, const TLogFile& project);
// "105 persons, at most 5/s".
QString FlowFiguresText(const TFlowPlace& place);
// The name and the figures: "Exit on Deck 3 - Boat deck, cells 15, 0 to 16, 0: 105 persons, at
// most 5/s".
QString FlowPlaceText(const TFlowPlace& place, const TLogFile& project);
// The label on the floor: "Exit: 105 persons, at most 5/s".
QString FlowLabelText(const TFlowPlace& place);
// The name, then every figure on a line of its own: the persons, the first and last passage in
// replay seconds as --flows prints them, and the most in one second.
QString FlowToolTipText(const TFlowPlace& place, const TLogFile& project);
