// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render/report_pdf.h"

#include <filesystem>

#include <QDate>
#include <QFile>

#include "cli/recording_report.h"
#include "recording/sound_input.h"
#include "wave/OutputFile.h"

namespace tesmera {

void WriteReportPdf(const std::string& recording, const std::string& speechPath,
                    std::optional<double> atSeconds, PatientDetails patient,
                    const std::string& pdfPath) {
    const RecordingReport record = ReportRecording(recording, atSeconds, 1, speechPath);
    if (!record.Sound) {
        // A page about a file that is not a recording helps nobody.
        throw OutputFileError(pdfPath, "the recording gives no page: " + record.Outcome.Text);
    }
    ClinicalPage page;
    if (patient.Assessed.isEmpty()) {
        patient.Assessed = QDate::currentDate().toString(Qt::ISODate);
    }
    page.Patient = std::move(patient);
    page.RecordingName = QFile::decodeName(std::filesystem::path(recording).filename().c_str());
    page.DurationSeconds = record.Sound->DurationSeconds;
    page.SampleRateHz = record.Sound->SampleRateHz;
    // The report keeps no outline of the recording, so the overview reads
    // it once more.
    const RecordingFile file(recording);
    page.Overview =
        PageOverview({file.Envelope(), file.SampleCount(), file.SampleRate(),
                      record.Report.StretchStartSeconds, record.Report.StretchEndSeconds});
    WriteClinicalPdf(pdfPath, page, record.Report);
}

}  // namespace tesmera
