#pragma once
// Where the labels on the floor go in the view so that none covers another: each at its point
// where that is free, else moved aside just enough (above, below, right or left of the point,
// in that order), else left out at this zoom. Labels earlier in the list are placed first, so
// the caller puts the ones that matter most first.

#include <QRect>

#include <optional>
#include <vector>

// The boxes are given centred on their points; a box left out is none.
std::vector<std::optional<QRect>> LaidOutLabels(const std::vector<QRect>& boxes);
