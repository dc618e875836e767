// SPDX-License-Identifier: GPL-3.0-or-later
// The one-page clinical report of a recording as `tesmera-cli report --pdf`
// writes it: the command line's report of the recording, its overview and
// the patient's details, painted by report_page/clinical_page.h.
#pragma once

#include <optional>
#include <string>

#include "report_page/clinical_page.h"

namespace tesmera {

// Reports `recording` as `tesmera-cli report` does (at `atSeconds`, with
// the voice quality index when `speechPath` names a speech recording) and
// writes its page to `pdfPath`; a recording without figures (silent, too
// short) gets a page that says why. An empty assessment date becomes
// today's. Throws OutputFileError when the page cannot be written or the
// recording cannot be read.
void WriteReportPdf(const std::string& recording, const std::string& speechPath,
                    std::optional<double> atSeconds, PatientDetails patient,
                    const std::string& pdfPath);

}  // namespace tesmera
