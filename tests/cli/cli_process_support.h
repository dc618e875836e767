// Running tesmera-cli as a user does, through the shell, for the
// end-to-end tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_test_support.h"

namespace tesmera::test {

inline const std::string CliProgram = TESMERA_BINARY_DIR "/cli/tesmera-cli";

struct ProcessRun {
    int exitStatus;
    std::string output;  // standard output and standard error
};

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
    const std::string outputPath = (folder.Path() / "console.txt").string();
    const int raw = std::system(
        (prefix + CliProgram + " " + arguments + " >" + outputPath + " 2>&1 </dev/null").c_str());
    std::ifstream in(outputPath);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(outputPath);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tesmera::test
