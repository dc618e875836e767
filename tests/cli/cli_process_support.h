// SPDX-License-Identifier: GPL-3.0-or-later
// Running tesmera-cli as a user does, through the shell, for the
// end-to-end tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_test_support.h"
#include "support/process_run.h"

namespace tesmera::test {

inline const std::string CliProgram = TESMERA_BINARY_DIR "/cli/tesmera-cli";

// The text as one shell word, whatever bytes it holds.
inline std::string ShellWord(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs `prefix tesmera-cli arguments` in the shell (`arguments` as the
// shell reads them), collecting both output streams in `folder`.
inline ProcessRun RunProgram(const std::string& arguments, const TempFolder& folder,
                             const std::string& prefix = "") {
    return RunCommand(prefix + CliProgram + " " + arguments + " </dev/null", folder);
}

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tesmera::test
