// SPDX-License-Identifier: GPL-3.0-or-later
// tesmera-render: the window's oscilloscope and chart for one voice file,
// saved as a PNG without a display. The only part of the command line that
// links Qt; `tesmera-cli render` hands over to it.
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include <CLI/CLI.hpp>
#include <QApplication>

#include "cli/UsageError.h"
#include "cli/command_line.h"
#include "cli/output_paths.h"
#include "cli/render/report_pdf.h"
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

// What --pdf and the options beside it ask for.
struct PageRequest {
    std::string pdfPath;
    std::string patient;
    std::string born;
    std::string date;
    std::string speechPath;  // for the voice quality index; empty: none
    std::optional<double> atSeconds;
};

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

// The window's picture of `voiceFile`, saved as a PNG.
int RenderPicture(const std::string& voiceFile, const std::string& pngPath) {
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

// The one-page clinical report of `recording`; its report's status is
// printed on the page, and `tesmera-cli report` gives it on its own.
int RenderPage(const std::string& recording, const PageRequest& request) {
    try {
        tesmera::WriteReportPdf(
            recording, request.speechPath, request.atSeconds,
            {QString::fromStdString(request.patient), QString::fromStdString(request.born),
             QString::fromStdString(request.date)},
            request.pdfPath);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tesmera-render: %s\n", tesmera::TerminalLine(error.what()).c_str());
        return ExitNotSaved;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Save the window's oscilloscope and chart for a voice file as one PNG, after the\n"
        "window's load and compute commands, or (--pdf) the one-page clinical report of a\n"
        "recording as `tesmera-cli report` gives it; needs no display.\n"
        "Exit status: 0 saved, 1 the window showed a warning or an error (on standard\n"
        "error; the picture is saved only when the file loaded), 2 not saved, 64 usage."};
    std::string voiceFile;
    std::string pngPath;
    PageRequest page;
    app.add_option("FILE", voiceFile,
                   "The voice file (.wav) or recording; after -- when it starts with '-'")
        ->required();
    CLI::Option* png =
        app.add_option("--png", pngPath, "The picture to write")->option_text("OUT.png");
    CLI::Option* pdf = app.add_option("--pdf", page.pdfPath, "The clinical report to write")
                           ->option_text("OUT.pdf")
                           ->excludes(png);
    app.add_option("--patient", page.patient, "The patient's identifier")->needs(pdf);
    app.add_option("--born", page.born, "The patient's date of birth")->needs(pdf);
    app.add_option("--date", page.date, "The assessment's date (default: today)")->needs(pdf);
    app.add_option("--at", page.atSeconds, "Report the stretch around this time")->needs(pdf);
    app.add_option("--speech", page.speechPath,
                   "The same person's continuous speech, for the voice quality index")
        ->option_text("FILE")
        ->needs(pdf);
    if (const auto exitStatus = tesmera::ParseCommandLine(app, argc, argv, "tesmera-render")) {
        return *exitStatus;
    }
    if (png->count() == 0 && pdf->count() == 0) {
        std::fprintf(stderr, "tesmera-render: --png or --pdf is required (see --help)\n");
        return tesmera::ExitUsage;
    }
    const std::string& output = page.pdfPath.empty() ? pngPath : page.pdfPath;
    try {
        tesmera::RefuseUnsafeOutputs(std::span(&voiceFile, 1), std::span(&output, 1),
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
    return page.pdfPath.empty() ? RenderPicture(voiceFile, pngPath) : RenderPage(voiceFile, page);
}
