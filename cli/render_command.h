// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli render` and `report --pdf`: hand over to tesmera-render, the
// one program of the command line that links Qt, so the other subcommands
// start without it.
#pragma once

#include <optional>
#include <string>

namespace tesmera {

struct RenderOptions {
    std::string voiceFile;
    std::string pngPath;
};

// Replaces this process by tesmera-render (see FindRenderProgram);
// returns (with 2, after a message) only when that cannot be started.
int RunRender(const RenderOptions& options);

// The one-page clinical report of a recording (`report --pdf`). The
// patient's details are only printed on the page.
struct ReportPageOptions {
    std::string pdfPath;  // empty: no page
    std::string patient;
    std::string born;
    std::string date;  // of the assessment
};

// Runs tesmera-render to write the page of `recording`, reported at
// `atSeconds` as `report` does, and waits for it. Returns its exit status,
// or ExitToolFailed after a message when it cannot be started or was killed.
int RenderReportPage(const std::string& recording, const std::string& speechPath,
                     std::optional<double> atSeconds, const ReportPageOptions& page);

}  // namespace tesmera
