// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli agreement`: the batch analysis, then how each score model
// agrees with the expert grades in the file names.
#pragma once

#include <string>
#include <vector>

#include "cli/batch.h"

namespace tesmera {

struct AgreementOptions {
    std::vector<std::string> paths;  // files and folders
    std::string jsonPath;            // empty: table only; "-": JSON instead of the table
    // The paths are recordings of sustained vowels: each is reported and its
    // median scores stand for it.
    bool recordings = false;
    // Instead of paths: the median scores of a `report --json` file.
    std::string fromReport;
    GradeOptions grades;
    bool quiet = false;  // no progress line
    unsigned jobs = 1;   // threads analysing files, 1..MaxJobs (--jobs: every core)
};

// Prints the table on standard output (unless the JSON goes there).
// Returns an exit status of batch.h.
int RunAgreement(const AgreementOptions& options);

}  // namespace tesmera
