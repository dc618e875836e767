// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli report`: the voice report of recordings of sustained vowels,
// as a table, JSON or CSV, optionally with every analysed cycle written as
// a period file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/record_writers.h"
#include "cli/render_command.h"

namespace tesmera {

struct ReportOptions {
    std::vector<std::string> paths;   // recordings, or folders searched for *.wav
    RecordPaths records;              // "-": standard output
    bool quiet = false;               // no progress line
    std::string periodsFolder;        // empty: no period files
    unsigned jobs = 1;                // recordings reported at once
    std::optional<double> atSeconds;  // the stretch around this time
    // The voice quality index: the speech recording of the one vowel
    // recording given, or the suffix that names each vowel's speech
    // recording beside it (NAME.wav and NAME_cs.wav for "_cs"). Empty: none.
    std::string speechPath;
    std::string speechSuffix;
    ReportPageOptions page;  // --pdf: one recording only
};

// Without --json and --csv the table goes to standard output. With a page
// asked for, the paths must name one recording, whose page tesmera-render
// writes after the records. Returns an exit status of batch.h: 1 when some
// recording's status is not "ok", 2 also when the page was not written; a
// voice quality index that could not be measured, or rests on little
// speech, is a warning on standard error and in the table, not a failure.
int RunReport(const ReportOptions& options);

}  // namespace tesmera
