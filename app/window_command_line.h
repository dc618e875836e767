// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's own arguments:
// `tesmera [--help | --version | --new-window] [FILE]`. A desktop entry starts
// it with the file the user opened.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tesmera {

enum class WindowAction { OpenWindow, PrintHelp, PrintVersion, RefuseUsage };

struct WindowCommandLine {
    WindowAction action = WindowAction::OpenWindow;
    // The files to open once the window shows, as given (OpenWindow only);
    // the window itself says when there are several.
    std::vector<std::string> files;
    // A window of its own even when the session has one (OpenWindow only);
    // otherwise the files go to the running window.
    bool newWindow = false;
    // What was wrong, one line without the program's name (RefuseUsage only).
    std::string problem;
};

// `arguments` excludes the program's name. --help or --version anywhere
// before a "--" wins over every other argument, so they work before the
// toolkit has looked at the rest (and before any display is needed).
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments);

// The text of --help, ending in a line break.
std::string WindowHelpText();
// The text of --version ("tesmera 0.1.0"), ending in a line break.
std::string WindowVersionText();

}  // namespace tesmera
