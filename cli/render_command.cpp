#include "cli/render_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "cli/batch.h"
#include "cli/render_program.h"

namespace tesmera {

int RunRender(const RenderOptions& options) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string renderer = FindRenderProgram(self).string();
    std::vector<std::string> arguments{renderer, options.voiceFile, "--png", options.pngPath};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    execv(renderer.c_str(), argv.data());
    std::fprintf(stderr, "tesmera-cli render: cannot start %s: %s\n", renderer.c_str(),
                 std::strerror(errno));
    return ExitToolFailed;
}

}  // namespace tesmera
