#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QTimer>

#include "app/AnalysisState.h"
#include "app/PresetFileDialogs.h"
#include "app/TForm1.h"
#include "app/window_command_line.h"

namespace {

std::vector<std::string> ArgumentsOf(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

// The window's dialogs: the real ones, answering the first file question
// with the file named on the command line when there is one. The window is
// still being built when this runs, so it is used only once a box opens.
std::unique_ptr<tesmera::UserDialogs> DialogsFor(const tesmera::WindowCommandLine& line,
                                                 tesmera::TForm1& window) {
    if (!line.voiceFile) {
        return nullptr;
    }
    return std::make_unique<tesmera::PresetFileDialogs>(
        QFile::decodeName(line.voiceFile->c_str()),
        [&window] { return std::make_unique<tesmera::QtUserDialogs>(&window); });
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
    // The toolkit takes its own options (-platform, -style, ...) out of argv.
    QApplication application(argc, argv);
    const tesmera::WindowCommandLine line =
        tesmera::ParseWindowCommandLine(ArgumentsOf(argc, argv));
    if (line.action == tesmera::WindowAction::RefuseUsage) {
        std::fprintf(stderr, "tesmera: %s\nTry 'tesmera --help' for more information.\n",
                     line.problem.c_str());
        return 2;
    }
    // The application title names the task-bar entry and captions the
    // general error box; the window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Tesmera"));
    // Program-wide, created zeroed before the window and kept until exit.
    const auto state = std::make_unique<tesmera::AnalysisState>();
    tesmera::TForm1 form(*state, DialogsFor(line, form));
    form.show();
    if (line.voiceFile) {
        // Loaded from the event loop, once the window is on screen, exactly
        // as a click on the Load button would.
        QTimer::singleShot(0, &form, &tesmera::TForm1::SpeedButton1Click);
    }
    return QApplication::exec();
}
