#pragma once
// The start sequence of the window program.

#include <QString>

int RunGui(int argc, char* argv[], const QString& pendingFileName);
