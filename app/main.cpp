// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QSettings>

#include "app/AnalysisState.h"
#include "app/LocalSocketLink.h"
#include "app/TForm1.h"
#include "app/window_command_line.h"
#include "app/window_session.h"

namespace {

std::vector<std::string> ArgumentsOf(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version need no display, so they are answered before the
    // toolkit starts.
    const tesmera::WindowCommandLine early =
        tesmera::ParseWindowCommandLine(ArgumentsOf(argc, argv));
    if (early.action == tesmera::WindowAction::PrintHelp) {
        std::fputs(tesmera::WindowHelpText().c_str(), stdout);
        return 0;
    }
    if (early.action == tesmera::WindowAction::PrintVersion) {
        std::fputs(tesmera::WindowVersionText().c_str(), stdout);
        return 0;
    }
    // The window keeps no settings, but the toolkit's file dialogs would
    // keep their history (the folders visited, which name patients) in the
    // user's configuration folder. Settings pointed at a place that can hold
    // no file are never written.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
    // The toolkit takes its own options (-platform, -style, ...) out of argv.
    QApplication application(argc, argv);
    const tesmera::WindowCommandLine line =
        tesmera::ParseWindowCommandLine(ArgumentsOf(argc, argv));
    if (line.action == tesmera::WindowAction::RefuseUsage) {
        std::fprintf(stderr, "tesmera: %s\nTry 'tesmera --help' for more information.\n",
                     line.problem.c_str());
        return 2;
    }
    tesmera::LocalSocketLink session(tesmera::SessionSocketPath());
    if (tesmera::HandToRunningWindow(line, session)) {
        return 0;
    }
    // The application title names the task-bar entry and captions the
    // general error box; the window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Tesmera"));
    // Lets the desktop match the window to its installed entry (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tesmera.tesmera"));
    // Program-wide, created zeroed before the window and kept until exit.
    const auto state = std::make_unique<tesmera::AnalysisState>();
    tesmera::TForm1 form(*state);
    form.show();
    tesmera::StartSessionWindow(form, line, session);
    return QApplication::exec();
}
