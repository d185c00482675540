#pragma once
// Command-line modes that print what the analysis of a file finds as CSV, without a display. Each
// returns 1, with the reason on stderr, when the file cannot be loaded or its replay is too long
// to analyse.

#include "AnalysisSettings.h"

#include <string>

// The evacuation curve: per whole second the time, the persons saved and those on each deck.
int RunCurveMode(const std::string& fileName);
// The congested regions, a row each, and a summary line on stderr.
int RunCongestionMode(const std::string& fileName, const TAnalysisSettings& settings);
// The exits and stairs, a row each; with perSecond, and the persons passing in each second.
int RunFlowsMode(const std::string& fileName, const TAnalysisSettings& settings, bool perSecond);
