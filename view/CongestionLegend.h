#pragma once
// The legend of the congestion map: what it measures, its colour scale with the person-seconds it
// stands for, from 0 to the top of the scale (the same on every deck), and how many of the cells
// where someone stood lie below that top.

#include "EvacuationAnalysis.h"

#include <QImage>

QImage CongestionLegend(const TCongestionMap& map);
