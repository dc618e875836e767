// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/batch.h"
#include "cli/render_program.h"
#include "cli/terminal_text.h"

namespace tesmera {

int RunRender(const RenderOptions& options) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string renderer = FindRenderProgram(self).string();
    // The voice file comes after "--", so a name such as "-x4.wav" or
    // "--help" is a file name and never an option.
    std::vector<std::string> arguments{renderer, "--png", options.pngPath, "--", options.voiceFile};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    execv(renderer.c_str(), argv.data());
    std::fprintf(stderr, "tesmera-cli render: cannot start %s: %s\n",
                 TerminalText(renderer).c_str(), std::strerror(errno));
    return ExitToolFailed;
}

}  // namespace tesmera
