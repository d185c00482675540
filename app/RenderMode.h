#pragma once
// Frames of a replay written as JPEG files without any display, drawn by the same renderer as
// the window's view.

#include "CommandLine.h"

#include <string>

// 0 when every frame was written; 1 when the file, the folder, OpenGL or a frame failed; 2 when
// the request itself makes no sense. Every failure is told on stderr.
int RunRenderMode(const std::string& fileName, const TRenderRequest& request);
