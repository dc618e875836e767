// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli compare BEFORE AFTER`: two reports of one voice side by
// side, figure by figure, saying which changes are real.
#pragma once

#include <string>

#include "cli/record_writers.h"

namespace tesmera {

struct CompareOptions {
    std::string beforePath;  // a recording or a `report --json` file
    std::string afterPath;
    RecordPaths records;  // "-": standard output; the table without any
};

// Returns an exit status of batch.h: 1 when either side has no figures (a
// recording not "ok", a report file that cannot be used), and then writes
// no comparison.
int RunCompare(const CompareOptions& options);

}  // namespace tesmera
