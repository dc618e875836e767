// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli analyze`: every file's load and compute results as a table,
// CSV or JSON.
#pragma once

#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/record_writers.h"

namespace tesmera {

struct AnalyzeOptions {
    std::vector<std::string> paths;  // files and folders
    RecordPaths records;             // "-": standard output
    bool quiet = false;              // no progress line
    GradeOptions grades;
    unsigned jobs = 1;  // threads analysing files, 1..MaxJobs (--jobs: every core)
};

// Without --csv and --json the table goes to standard output. Returns an
// exit status of batch.h; errors of the tool itself are reported on
// standard error.
int RunAnalyze(const AnalyzeOptions& options);

}  // namespace tesmera
