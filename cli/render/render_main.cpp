// tesmera-render: the window's oscilloscope and chart for one voice file,
// saved as a PNG without a display. The only part of the command line that
// links Qt; `tesmera-cli render` hands over to it.
#include <cstdio>

#include <CLI/CLI.hpp>
#include <QApplication>

#include "cli/render/window_picture.h"

namespace {

// Exit statuses, as tesmera-cli's: 1 when the window showed a warning or an
// error (the picture is still saved), 2 when the picture cannot be saved.
constexpr int kExitShownMessages = 1;
constexpr int kExitNotSaved = 2;

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Save the window's oscilloscope and chart for a voice file as one PNG, after the\n"
        "window's load and compute commands; needs no display.\n"
        "Exit status: 0 saved, 1 saved but the window showed a warning or an error (on\n"
        "standard error), 2 not saved."};
    std::string voiceFile;
    std::string pngPath;
    app.add_option("FILE", voiceFile, "The voice file (.wav)")->required();
    app.add_option("--png", pngPath, "The picture to write")->option_text("OUT.png")->required();
    CLI11_PARSE(app, argc, argv);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // Captions the error box, as in the window's own program.
    QApplication::setApplicationName(QStringLiteral("Tesmera"));

    const tesmera::WindowPicture picture = tesmera::RenderWindowPicture(voiceFile);
    for (const std::string& message : picture.Messages) {
        std::fprintf(stderr, "tesmera-render: %s\n", message.c_str());
    }
    if (!picture.Image.save(QString::fromLocal8Bit(pngPath.c_str()), "PNG")) {
        std::fprintf(stderr, "tesmera-render: cannot write %s\n", pngPath.c_str());
        return kExitNotSaved;
    }
    return picture.Messages.empty() ? 0 : kExitShownMessages;
}
