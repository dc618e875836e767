// SPDX-License-Identifier: GPL-3.0-or-later
// The agreement figures as a table for reading and as JSON.
#pragma once

#include <string>

#include "cli/agreement.h"

namespace tesmera {

// A summary line per model, each model's confusion matrix, the skipped
// files with their reasons, then the grades used with where each came from
// and a warning for name grades that end a number. Undefined figures read
// "n/a".
std::string AgreementTable(const AgreementReport& report);

// {"tesmera_version": ..., "models": [{"model": "10", "count": ..., "exact_count": ...,
//  "exact_rate": ..., ..., "confusion": [[...], ...]}, ...],
//  "skipped": [{"path": ..., "reason": ...}, ...],
//  "grades": [{"path": ..., "expert_grade": 3, "grade_source": "name", "warning": ...}, ...]};
// one model or file per line, rates as fractions, undefined figures null;
// always valid UTF-8 (see AddText). docs/outputs.md lists every key.
std::string AgreementJson(const AgreementReport& report);

}  // namespace tesmera
