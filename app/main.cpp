#include <memory>

#include <QApplication>
#include <QStringList>

#include "app/AnalysisState.h"
#include "app/CommandQueue.h"
#include "app/TForm1.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The application title names the task-bar entry and captions the
    // general error box; the window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Tesmera"));
    // Program-wide, created zeroed before the window and kept until exit.
    const auto state = std::make_unique<tesmera::AnalysisState>();
    tesmera::TForm1 form(*state);
    form.show();
    // Files named on the command line open once the window is up, so their
    // warnings and messages show over it.
    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty()) {
        form.Commands().Request([&form, files] { form.OpenFiles(files); });
    }
    return QApplication::exec();
}
