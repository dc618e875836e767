// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a command line as a user's shell would, for end-to-end tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempFolder.h"

namespace tesmera::test {

struct ProcessRun {
    int exitStatus;      // -1 when the program did not end normally
    std::string output;  // standard output and standard error
};

// `commandLine` through the shell, its output collected in `folder`.
inline ProcessRun RunCommand(const std::string& commandLine, const TempFolder& folder) {
    const std::string outputPath = (folder.Path() / "console.txt").string();
    const int raw = std::system((commandLine + " >" + outputPath + " 2>&1").c_str());
    std::ifstream in(outputPath);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(outputPath);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

}  // namespace tesmera::test
