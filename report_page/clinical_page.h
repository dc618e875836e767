// SPDX-License-Identifier: GPL-3.0-or-later
// The one-page clinical report of a recording: who and when, the recording
// with its overview, the summary line, the models' grades, the measures,
// AVQI when a speech sample was given, the verdicts and the tool's version.
// It paints on any paged device (a PDF, a printer) through QPainter alone,
// so the command line's picture program and the window share it.
#pragma once

#include <cstdint>
#include <string>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "recording/voice_report.h"
#include "report_page/overview_painting.h"

class QPainter;

namespace tesmera {

// Typed by the user for one page and kept nowhere else. Free text: a date
// is shown as it was typed.
struct PatientDetails {
    QString Id;
    QString Born;
    QString Assessed;  // the assessment's date
};

// What the page shows beside the report.
struct ClinicalPage {
    PatientDetails Patient;
    QString RecordingName;  // the file's name, without its folder
    double DurationSeconds = 0;
    std::int32_t SampleRateHz = 0;
    QImage Overview;  // OverviewPicture of the recording; may be null
};

// The recording's overview at the size the page shows it.
QImage PageOverview(const OverviewSource& source);

// The page's own coordinates: tenths of a millimetre on A4 portrait.
constexpr double PageWidth = 2100;
constexpr double PageHeight = 2970;

// Paints the page, scaled to fit the painter's device and centred on it.
void PaintClinicalPage(QPainter& painter, const ClinicalPage& page, const VoiceReport& report);

// The page as a one-page A4 PDF.
QByteArray ClinicalPdf(const ClinicalPage& page, const VoiceReport& report);

// Writes ClinicalPdf to `path` whole, or not at all; throws OutputFileError.
void WriteClinicalPdf(const std::string& path, const ClinicalPage& page, const VoiceReport& report);

}  // namespace tesmera
