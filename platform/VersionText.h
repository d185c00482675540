#pragma once
// The program's own version as text, as the startup window shows it. The version is the one the
// build was made with (the CMake project version), compiled in.

#include <QString>

#include <array>
#include <optional>

// Major, minor, release and build number.
using TFileVersion = std::array<int, 4>;

// The version compiled into this program; none when the build named no version.
std::optional<TFileVersion> CompiledFileVersion();

// The first `parts` numbers of the version joined by "." ("1.0.0" for 3 parts of 1.0.0.0).
// Fewer than 2 parts give 2, more than 4 give 4. Without a version the text says so.
QString FileVersionText(const std::optional<TFileVersion>& version, int parts);

// The same for the compiled-in version.
QString FileVersionText(int parts);
