// SPDX-License-Identifier: GPL-3.0-or-later
// The clinical page as a reader gets it: the text poppler extracts from the
// PDF and the page's size, for a report with every figure and for one
// without any.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report_page/clinical_page.h"
#include "support/TempFolder.h"
#include "support/process_run.h"

namespace tesmera {
namespace {

// A report whose figures are all different, so each one found on the page
// is the one meant.
VoiceReport ReportWithEveryFigure() {
    VoiceReport report;
    report.Outcome = Status{};
    report.SampleRate = 44100;
    report.StretchStartSeconds = 0.25;
    report.StretchEndSeconds = 1.75;
    report.AnalysedCycles = 180;
    report.Steady = true;
    report.F0MeanHz = 121.4567;
    report.F0SdHz = 1.2345;
    report.Jitter.Local = 0.0123456;
    report.Jitter.LocalAbsolute = 0.0000987;
    report.Jitter.Rap = 0.0061234;
    report.Jitter.Ppq5 = 0.0071234;
    report.Shimmer.Local = 0.0456789;
    report.Shimmer.LocalDb = 0.4012;
    report.Shimmer.Apq3 = 0.0234567;
    report.Shimmer.Apq5 = 0.0298765;
    report.HnrDb = 18.456;
    report.CppsDb = 11.234;
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        report.Models[m].MedianValue = 1.1111 * static_cast<double>(m + 1);
        report.Models[m].Score = static_cast<std::int32_t>(m % 5) + 1;
    }
    report.Models[2].Borderline = true;
    report.Avqi = AvqiFigures{.Avqi = 4.1234, .SpeechVoicedSeconds = 2.87};
    return report;
}

// The outline of 2 s of a 120 Hz sinusoid of peak amplitude 0.5 at 44100 Hz.
SampleEnvelope SinusoidOutline() {
    std::vector<double> samples(88200);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.5 * std::sin(2 * std::numbers::pi * 120 * static_cast<double>(i) / 44100);
    }
    SampleEnvelope envelope;
    envelope.Add(samples);
    return envelope;
}

ClinicalPage PageFor(const SampleEnvelope& envelope) {
    ClinicalPage page;
    page.Patient = {QStringLiteral("P-0042"), QStringLiteral("1970-05-31"),
                    QStringLiteral("2026-12-08")};
    page.RecordingName = QStringLiteral("sustained_a.wav");
    page.DurationSeconds = 2.0;
    page.SampleRateHz = 44100;
    page.Overview = PageOverview({envelope, 88200, 44100, 0.25, 1.75});
    return page;
}

struct PdfReading {
    std::string text;  // pdftotext's, in reading order
    std::string info;  // pdfinfo's
};

PdfReading ReadPdf(const ClinicalPage& page, const VoiceReport& report) {
    const test::TempFolder folder;
    const std::string pdf = (folder.Path() / "page.pdf").string();
    WriteClinicalPdf(pdf, page, report);
    const test::ProcessRun text = test::RunCommand("pdftotext -raw '" + pdf + "' -", folder);
    const test::ProcessRun info = test::RunCommand("pdfinfo '" + pdf + "'", folder);
    EXPECT_EQ(text.exitStatus, 0) << text.output;
    EXPECT_EQ(info.exitStatus, 0) << info.output;
    return {text.output, info.output};
}

TEST(ClinicalPage, ShowsEveryFigureRoundedAsTheReportTable) {
    const SampleEnvelope envelope = SinusoidOutline();
    const PdfReading pdf = ReadPdf(PageFor(envelope), ReportWithEveryFigure());
    for (const char* expected : {"P-0042",
                                 "1970-05-31",
                                 "2026-12-08",
                                 "sustained_a.wav",
                                 "2.00 s at 44100 Hz",
                                 "0.250 s to 1.750 s",
                                 "121.46",
                                 "1.23",
                                 "1.235",
                                 "98.7",
                                 "0.612",
                                 "0.712",
                                 "4.568",
                                 "0.401",
                                 "2.346",
                                 "2.988",
                                 "18.46",
                                 "11.23",
                                 "SCORE(10)",
                                 "1.111",
                                 "3.333",
                                 "3?",
                                 "6.667",
                                 "AVQI 4.12",
                                 "threshold 2.43",
                                 "2.87 s of voiced speech",
                                 "Grade 1 (2 of 6 models), AVQI 4.12 (above 2.43), steady",
                                 "below 1.04 %",
                                 "cycles analysed",
                                 "Tesmera 0."}) {
        EXPECT_NE(pdf.text.find(expected), std::string::npos) << expected << "\n" << pdf.text;
    }
}

TEST(ClinicalPage, IsOneA4Page) {
    const SampleEnvelope envelope = SinusoidOutline();
    const PdfReading pdf = ReadPdf(PageFor(envelope), ReportWithEveryFigure());
    EXPECT_NE(pdf.info.find("Pages:           1\n"), std::string::npos) << pdf.info;
    EXPECT_NE(pdf.info.find("(A4)"), std::string::npos) << pdf.info;
}

TEST(ClinicalPage, WithoutFiguresSaysWhyAndStillFitsOnePage) {
    VoiceReport report;
    report.Outcome = {StatusCode::Silent, "silent: no voice was found"};
    const SampleEnvelope envelope = SinusoidOutline();
    const PdfReading pdf = ReadPdf(PageFor(envelope), report);
    for (const char* expected : {"No grade: silent: no voice was found", "n/a",
                                 "No speech sample was given.", "No steady stretch"}) {
        EXPECT_NE(pdf.text.find(expected), std::string::npos) << expected << "\n" << pdf.text;
    }
    EXPECT_NE(pdf.info.find("Pages:           1\n"), std::string::npos) << pdf.info;
}

}  // namespace
}  // namespace tesmera
