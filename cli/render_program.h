// Where `tesmera-cli render` finds tesmera-render: only where the build or
// the installation put it, never in the current folder or on PATH, so a
// stray program of that name cannot run in its place.
#pragma once

#include <filesystem>
#include <string>

namespace tesmera {

// The program beside `self` (a build tree keeps both in one folder) when
// it is there and executable, else `installed` (the absolute path chosen
// when the build was configured) when that is. `self` is this program's
// absolute path, or empty when unknown; relative paths are never used.
// Throws std::runtime_error naming the places looked at.
std::string FindRenderProgram(const std::filesystem::path& self, const std::string& installed);

// FindRenderProgram for this process (its path from /proc/self/exe) and
// the configured installation path.
std::string RenderProgramPath();

}  // namespace tesmera
