#pragma once
// The legend of the congestion map: its colour scale with the seconds it stands for, from 0 to
// the longest time persons stood on one cell of the deck shown.

#include <QImage>

QImage CongestionLegend(float mostSeconds);
