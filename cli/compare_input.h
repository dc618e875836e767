// SPDX-License-Identifier: GPL-3.0-or-later
// One side of `tesmera-cli compare`: a recording, reported as `report`
// reports it, or one record of `report --json` or `--json-lines`, which
// carries each figure's standard error beside it.
#pragma once

#include <string>

#include "base/Status.h"
#include "recording/report_comparison.h"

namespace tesmera {

struct ComparedReport {
    std::string Path;
    // Ok, or why this side has no figures to compare: the recording's own
    // status, or a report file that cannot be used.
    Status Outcome;
    ReportEstimates Estimates;

    bool Ok() const { return Outcome.Ok(); }
};

// A path ending in ".json" (in any case) is read as a report file, which
// must hold one record, reported "ok", with the standard errors of its
// figures; anything else is reported as a recording on up to `threads`
// threads. Never throws for a bad input.
ComparedReport ReadComparedReport(const std::string& path, unsigned threads);

}  // namespace tesmera
