// The agreement figures as a table for reading and as JSON.
#pragma once

#include <string>

#include "cli/agreement.h"

namespace tesmera {

// A summary line per model, each model's confusion matrix, then the
// skipped files with their reasons. Undefined figures read "n/a".
std::string AgreementTable(const AgreementReport& report);

// {"models": [{"model": "10", "count": ..., "confusion": [[...], ...]}, ...],
//  "skipped": [{"path": ..., "reason": ...}, ...]}; undefined figures null.
std::string AgreementJson(const AgreementReport& report);

}  // namespace tesmera
