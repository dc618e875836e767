// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli render`: hands over to tesmera-render, the one program of
// the command line that links Qt, so the other subcommands start without it.
#pragma once

#include <string>

namespace tesmera {

struct RenderOptions {
    std::string voiceFile;
    std::string pngPath;
};

// Replaces this process by tesmera-render (see FindRenderProgram);
// returns (with 2, after a message) only when that cannot be started.
int RunRender(const RenderOptions& options);

}  // namespace tesmera
