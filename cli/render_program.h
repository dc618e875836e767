// SPDX-License-Identifier: GPL-3.0-or-later
// Where `tesmera-cli render` finds tesmera-render, the separate program that
// links Qt: beside tesmera-cli in a build tree, under libexec when installed.
#pragma once

#include <filesystem>
#include <vector>

namespace tesmera {

// The places to look, in order, for a tesmera-cli whose own file is `self`
// (empty when unknown): beside it (a build tree); the installed place
// relative to it (an installed tree wherever its prefix or DESTDIR put it);
// the installed place configured at build time. A relative guess is never
// made, so the current folder is never searched.
std::vector<std::filesystem::path> RenderProgramCandidates(const std::filesystem::path& self);

// The first candidate that is an executable regular file; when there is
// none, the first candidate, so the failure to start it names a real place.
std::filesystem::path FindRenderProgram(const std::filesystem::path& self);

}  // namespace tesmera
