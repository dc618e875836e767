// SPDX-License-Identifier: GPL-3.0-or-later
// tesmera-render: the window's oscilloscope and chart for one voice file,
// saved as a PNG without a display. The only part of the command line that
// links Qt; `tesmera-cli render` hands over to it.
#include <cstdio>
#include <span>

#include <CLI/CLI.hpp>
#include <QApplication>

#include "cli/UsageError.h"
#include "cli/command_line.h"
#include "cli/output_paths.h"
#include "cli/render/window_picture.h"
#include "cli/terminal_text.h"
#include "wave/OutputFile.h"

namespace {

// Exit statuses, as tesmera-cli's: 1 when the window showed a warning or an
// error (the picture is saved only when the file was loaded), 2 when the
// picture cannot be saved, ExitUsage for a command line that cannot be
// carried out.
constexpr int ExitShownMessages = 1;
constexpr int ExitNotSaved = 2;

// Encodes the picture and puts it in place whole; false (after a message)
// when it cannot be.
bool SavePicture(const QImage& image, const std::string& pngPath) {
    const QByteArray png = tesmera::PngBytes(image);
    try {
        if (png.isEmpty()) {
            throw tesmera::OutputFileError(pngPath, "the picture cannot be encoded as PNG");
        }
        tesmera::OutputFile file(pngPath);
        file.Write(std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
        file.Commit();
        return true;
    } catch (const tesmera::OutputFileError& error) {
        std::fprintf(stderr, "tesmera-render: %s\n", tesmera::TerminalLine(error.what()).c_str());
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Save the window's oscilloscope and chart for a voice file as one PNG, after the\n"
        "window's load and compute commands; needs no display.\n"
        "Exit status: 0 saved, 1 the window showed a warning or an error (on standard\n"
        "error; the picture is saved only when the file loaded), 2 not saved, 64 usage."};
    std::string voiceFile;
    std::string pngPath;
    app.add_option("FILE", voiceFile, "The voice file (.wav); after -- when it starts with '-'")
        ->required();
    app.add_option("--png", pngPath, "The picture to write")->option_text("OUT.png")->required();
    if (const auto exitStatus = tesmera::ParseCommandLine(app, argc, argv, "tesmera-render")) {
        return *exitStatus;
    }
    try {
        tesmera::RefuseUnsafeOutputs(std::span(&voiceFile, 1), std::span(&pngPath, 1),
                                     tesmera::StandardOutput::Refused);
    } catch (const tesmera::UsageError& error) {
        std::fprintf(stderr, "tesmera-render: %s\n", tesmera::TerminalLine(error.what()).c_str());
        return tesmera::ExitUsage;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // Captions the error box, as in the window's own program.
    QApplication::setApplicationName(QStringLiteral("Tesmera"));

    const tesmera::WindowPicture picture = tesmera::RenderWindowPicture(voiceFile);
    // The window's texts as it shows them, after the file they are about.
    const std::string file = tesmera::TerminalText(voiceFile);
    for (const std::string& message : picture.Messages) {
        std::fprintf(stderr, "tesmera-render: %s: %s\n", file.c_str(), message.c_str());
    }
    if (!picture.Loaded) {
        std::fprintf(stderr, "tesmera-render: %s: not loaded, so no picture was written\n",
                     file.c_str());
        return ExitShownMessages;
    }
    if (!SavePicture(picture.Image, pngPath)) {
        return ExitNotSaved;
    }
    return picture.Messages.empty() ? 0 : ExitShownMessages;
}
