#pragma once
// Command-line modes over many runs of one scenario, without a display: the figures an
// evacuation report states (the assembly time higher than 95 % of the runs), from the logs or
// from tables of runs written before. Each returns 1 when a log or table was left out or a file
// could not be written, 0 otherwise.

#include "AnalysisSettings.h"

#include <string>
#include <vector>

// Summarises the logs (a folder stands for its .3dl files, sorted by name) on all cores, with a
// progress line on stderr; prints a line per log and the figures over them, and with csvOut
// writes the table of runs there.
int RunSummaryMode(const std::vector<std::string>& files, const std::string& csvOut,
                   const TAnalysisSettings& settings);
// The same figures over the rows of tables that --summary --csv wrote.
int RunMergeMode(const std::vector<std::string>& tables);

// The logs a list of files and folders names: a folder's .3dl files sorted by name in its place;
// a folder without any stays, so that it is reported.
std::vector<std::string> LogsNamed(const std::vector<std::string>& files);
