// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_command.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "cli/batch.h"
#include "cli/render_program.h"
#include "cli/terminal_text.h"

extern char** environ;

namespace tesmera {

namespace {

std::string RendererPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return FindRenderProgram(self).string();
}

// The renderer's command line: its path, `options`, then the recording after
// "--", so a name such as "-x4.wav" or "--help" is a file name and never an
// option.
std::vector<std::string> RendererCommand(std::vector<std::string> options,
                                         const std::string& recording) {
    std::vector<std::string> command{RendererPath()};
    command.insert(command.end(), options.begin(), options.end());
    command.push_back("--");
    command.push_back(recording);
    return command;
}

// argv for `command`, which must outlive it.
std::vector<char*> ArgumentVector(std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return argv;
}

int CannotStart(const char* subcommand, const std::string& renderer, int error) {
    std::fprintf(stderr, "tesmera-cli %s: cannot start %s: %s\n", subcommand,
                 TerminalText(renderer).c_str(), std::strerror(error));
    return ExitToolFailed;
}

}  // namespace

int RunRender(const RenderOptions& options) {
    std::vector<std::string> command =
        RendererCommand({"--png", options.pngPath}, options.voiceFile);
    const std::vector<char*> argv = ArgumentVector(command);
    execv(argv[0], argv.data());
    return CannotStart("render", command.front(), errno);
}

int RenderReportPage(const std::string& recording, const std::string& speechPath,
                     std::optional<double> atSeconds, const ReportPageOptions& page) {
    // "--name=value", so a value starting with '-' is never taken for an
    // option.
    std::vector<std::string> options{"--pdf=" + page.pdfPath};
    // An empty value is left out: the parser would take the next argument
    // for it.
    for (const auto& [name, value] : {std::pair{"--patient=", &page.patient},
                                      {"--born=", &page.born},
                                      {"--date=", &page.date},
                                      {"--speech=", &speechPath}}) {
        if (!value->empty()) {
            options.push_back(name + *value);
        }
    }
    if (atSeconds) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "--at=%.17g", *atSeconds);
        options.emplace_back(seconds);
    }
    std::vector<std::string> command = RendererCommand(std::move(options), recording);
    const std::vector<char*> argv = ArgumentVector(command);
    pid_t child = 0;
    if (const int error = posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ)) {
        return CannotStart("report", command.front(), error);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return CannotStart("report", command.front(), errno);
        }
    }
    if (!WIFEXITED(status)) {
        std::fprintf(stderr, "tesmera-cli report: %s ended without finishing the page\n",
                     TerminalText(command.front()).c_str());
        return ExitToolFailed;
    }
    return WEXITSTATUS(status);
}

}  // namespace tesmera
