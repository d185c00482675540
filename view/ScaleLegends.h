#pragma once
// The legends the view shows in its lower left corner: a title, a colour bar from 0 to the top of
// its scale with the values at its ends and middle, and a note.

#include "EvacuationAnalysis.h"

#include <QImage>

// The congestion map's: what it measures and over which time (up to a moment, or the whole
// replay), its scale (the whole replay's, the same on every deck and at every moment), and how
// many of the cells where someone stood lie below the top.
QImage CongestionLegend(const TCongestionMap& map);
// "Standing time up to 1:23, person-seconds per cell" or "Standing time, whole replay, ...".
QString CongestionLegendTitle(const TCongestionMap& map);

// The persons' colours by waiting: green for moving, then the seconds stood still up to the
// limit, whose colour any longer wait takes.
QImage WaitingLegend(float limit);

// Legends one above the other, the first at the bottom; a null image for none.
QImage StackedLegends(const QImage& lower, const QImage& upper);
