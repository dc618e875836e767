#include "cli/render_program.h"

#include <unistd.h>

#include <stdexcept>

#include "cli/terminal_text.h"

#ifndef TESMERA_RENDER_INSTALLED
#define TESMERA_RENDER_INSTALLED ""
#endif

namespace tesmera {

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramName = "tesmera-render";

bool IsExecutableAt(const fs::path& path) {
    return path.is_absolute() && access(path.c_str(), X_OK) == 0 && !fs::is_directory(path);
}

}  // namespace

std::string FindRenderProgram(const fs::path& self, const std::string& installed) {
    std::string looked;
    if (self.is_absolute()) {
        const fs::path beside = self.parent_path() / kProgramName;
        if (IsExecutableAt(beside)) {
            return beside.string();
        }
        looked = beside.string();
    }
    if (IsExecutableAt(installed)) {
        return installed;
    }
    if (fs::path(installed).is_absolute()) {
        looked += (looked.empty() ? "" : " nor ") + installed;
    }
    throw std::runtime_error(std::string(kProgramName) + " not found" +
                             (looked.empty() ? "" : " at " + TerminalText(looked)));
}

std::string RenderProgramPath() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return FindRenderProgram(error ? fs::path() : self, TESMERA_RENDER_INSTALLED);
}

}  // namespace tesmera
