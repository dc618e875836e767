// SPDX-License-Identifier: GPL-3.0-or-later
// The unfinished copy of an output file, written beside it and renamed over
// it when complete. Its name says what it is ("r.json.tesmera-partial"),
// and its writer holds a lock on it for as long as it lives, so a copy
// left behind by a writer that was killed is told apart from one being
// written and is removed by the next write of the same output.
#pragma once

#include <string>

namespace tesmera {

// "<name>.tesmera-partial", then "-2", "-3", ... for writers of one target
// at the same time.
constexpr const char* PartialFileSuffix = ".tesmera-partial";

// Creates the partial file for `target` (a path whose folder exists),
// removing the stale ones of earlier writers it meets on the way. Returns
// its descriptor, open for writing and locked, and sets `name`; returns -1
// with errno set when none can be made. The lock lasts as long as any
// descriptor of that open file (dup keeps it).
int CreatePartialFile(const std::string& target, std::string& name);

// Removes the stale partial files of `target` under every name a writer
// may have given them; best effort, for after a write put its own in place.
void RemoveStalePartialFiles(const std::string& target);

}  // namespace tesmera
