#pragma once
// The start sequence of the window program.

#include <QString>

#include <functional>

int RunGui(int argc, char* argv[], const QString& pendingFileName);

// Runs the start sequence; an exception that escapes it is shown in an error box, and the
// program then ends normally (0) instead of being aborted.
int RunShowingErrors(const std::function<int()>& run);
