// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_program.h"

#include <unistd.h>

#include <algorithm>
#include <string>

#include "config/build_config.h"

namespace tesmera {

namespace {

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<std::filesystem::path> RenderProgramCandidates(const std::filesystem::path& self) {
    std::vector<std::filesystem::path> candidates;
    const auto add = [&](const std::filesystem::path& path) {
        const std::filesystem::path normal = path.lexically_normal();
        if (std::find(candidates.begin(), candidates.end(), normal) == candidates.end()) {
            candidates.push_back(normal);
        }
    };
    if (self.is_absolute()) {
        const std::filesystem::path folder = self.parent_path();
        add(folder / "tesmera-render");
        add(folder / std::string(RenderProgramFromBinDir));
    }
    add(std::string(RenderProgramInstalled));
    return candidates;
}

std::filesystem::path FindRenderProgram(const std::filesystem::path& self) {
    const std::vector<std::filesystem::path> candidates = RenderProgramCandidates(self);
    const auto found = std::find_if(candidates.begin(), candidates.end(), IsExecutableFile);
    return found != candidates.end() ? *found : candidates.front();
}

}  // namespace tesmera
