// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/clinical_page.h"

#include <algorithm>
#include <vector>

#include <QBuffer>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "config/build_config.h"
#include "recording/avqi_figures.h"
#include "report_page/PageTable.h"
#include "report_page/clinical_page_rows.h"
#include "report_page/page_style.h"
#include "wave/OutputFile.h"

namespace tesmera {

namespace {

constexpr double Margin = 150;
constexpr double ContentWidth = PageWidth - 2 * Margin;
constexpr double LineHeight = 50;
constexpr double SectionGap = 40;
// The two columns under the overview: the models on the left, AVQI on the
// right; the measures and their norms, whose texts are long, span both
// below them.
constexpr double LeftWidth = 760;
constexpr double RightLeft = Margin + LeftWidth + 120;
constexpr double RightWidth = PageWidth - Margin - RightLeft;
// The AVQI scale's range; a value beyond it is marked at its end.
constexpr double AvqiScaleTop = 10;
// The page's resolution in the PDF, dots per inch: fine enough for the
// overview picture, whose pixels are drawn scaled.
constexpr int PdfResolution = 600;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString VersionText() {
    return QStringLiteral("Tesmera ") + QString::fromLatin1(Version.data(), Version.size());
}

// A line of text from `left` at `top`, one LineHeight high.
void DrawLine(QPainter& painter, double left, double top, double width, const QString& text,
              const PageFont& font, int alignment = Qt::AlignLeft) {
    font.Apply(painter);
    painter.drawText(QRectF(left, top, width, LineHeight), alignment | Qt::AlignVCenter, text);
}

double PaintHeading(QPainter& painter, double top) {
    DrawLine(painter, Margin, top, ContentWidth, QStringLiteral("Voice report"), TitleFont);
    DrawLine(painter, Margin, top, ContentWidth, VersionText(), SmallFont, Qt::AlignRight);
    const double rule = top + LineHeight + 20;
    painter.setPen(QPen(RuleColor, 3));
    painter.drawLine(QPointF(Margin, rule), QPointF(Margin + ContentWidth, rule));
    return rule + 30;
}

// The full-width line a reader takes in first.
double PaintSummary(QPainter& painter, double top, const VoiceReport& report) {
    constexpr double Height = 90;
    painter.fillRect(QRectF(Margin, top, ContentWidth, Height), BandColor);
    HeadingFont.Apply(painter);
    painter.drawText(QRectF(Margin + 30, top, ContentWidth - 60, Height),
                     Qt::AlignLeft | Qt::AlignVCenter, Text(PageSummaryLine(report)));
    return top + Height + SectionGap;
}

double PaintPatient(QPainter& painter, double top, const PatientDetails& patient) {
    const std::vector<std::pair<QString, QString>> fields{
        {QStringLiteral("Patient ID"), patient.Id},
        {QStringLiteral("Date of birth"), patient.Born},
        {QStringLiteral("Assessment date"), patient.Assessed}};
    const double width = ContentWidth / static_cast<double>(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const double left = Margin + width * static_cast<double>(i);
        DrawLine(painter, left, top, width, fields[i].first, LabelFont);
        DrawLine(painter, left, top + LineHeight, width, fields[i].second, StrongFont);
    }
    return top + 2 * LineHeight + SectionGap;
}

double PaintRecording(QPainter& painter, double top, const ClinicalPage& page,
                      const VoiceReport& report) {
    DrawLine(painter, Margin, top, ContentWidth, QStringLiteral("Recording"), LabelFont);
    DrawLine(painter, Margin, top + LineHeight, ContentWidth, page.RecordingName, StrongFont);
    const QString facts = QStringLiteral("%1 s at %2 Hz, status %3, recording quality %4")
                              .arg(QString::number(page.DurationSeconds, 'f', 2))
                              .arg(page.SampleRateHz)
                              .arg(Text(report.Outcome.Text), Text(PageQualityText(report)));
    DrawLine(painter, Margin, top + 2 * LineHeight, ContentWidth, facts, BodyFont);
    QString stretch = QStringLiteral("No steady stretch was found.");
    if (report.AnalysedCycles > 0) {
        stretch = QStringLiteral("Analysed stretch (shaded): %1 s to %2 s")
                      .arg(QString::number(report.StretchStartSeconds, 'f', 3),
                           QString::number(report.StretchEndSeconds, 'f', 3));
    }
    DrawLine(painter, Margin, top + 3 * LineHeight, ContentWidth, stretch, BodyFont);
    return top + 4 * LineHeight + 10;
}

double PaintOverview(QPainter& painter, double top, const QImage& overview) {
    if (overview.isNull()) {
        return top;
    }
    const double height = ContentWidth * overview.height() / overview.width();
    painter.drawImage(QRectF(Margin, top, ContentWidth, height), overview);
    return top + height + SectionGap;
}

double PaintModels(QPainter& painter, double top, const VoiceReport& report) {
    PageTable table({{QStringLiteral("Model"), 300, Qt::AlignLeft},
                     {QStringLiteral("Median"), 230, Qt::AlignRight},
                     {QStringLiteral("Grade"), 230, Qt::AlignRight}});
    for (const ModelRow& row : PageModelRows(report)) {
        table.AddRow({Text(row.Model), Text(row.Median), Text(row.Grade)});
    }
    return table.Paint(painter, QPointF(Margin, top)) + SectionGap;
}

double PaintMeasures(QPainter& painter, double top, const VoiceReport& report) {
    constexpr double MarkWidth = 220;
    PageTable table(
        {{QStringLiteral("Measure"), 450, Qt::AlignLeft},
         {QStringLiteral("Value"), 220, Qt::AlignRight},
         {QStringLiteral("Unit"), 130, Qt::AlignLeft},
         {QStringLiteral("Normal range"), ContentWidth - 800 - MarkWidth, Qt::AlignLeft},
         {QString(), MarkWidth, Qt::AlignLeft}});
    for (const MeasureRow& row : PageMeasureRows(report)) {
        table.AddRow({Text(row.Label), Text(row.Value), QStringLiteral("  ") + Text(row.Unit),
                      Text(row.Norm), row.Outside ? QStringLiteral("outside") : QString()},
                     row.Outside);
    }
    return table.Paint(painter, QPointF(Margin, top));
}

// A green-to-red bar over 0..AvqiScaleTop, the threshold drawn across it
// and the value marked above it.
void PaintAvqiScale(QPainter& painter, double top, double avqi) {
    constexpr double Height = 40;
    const auto x = [](double value) {
        return RightLeft + RightWidth * std::clamp(value, 0.0, AvqiScaleTop) / AvqiScaleTop;
    };
    QLinearGradient gradient(RightLeft, 0, RightLeft + RightWidth, 0);
    gradient.setColorAt(0, QColor(40, 160, 60));
    gradient.setColorAt(AvqiDysphonicThreshold / AvqiScaleTop, QColor(230, 210, 40));
    gradient.setColorAt(1, QColor(200, 30, 30));
    const double barTop = top + 40;
    painter.fillRect(QRectF(RightLeft, barTop, RightWidth, Height), gradient);
    painter.setPen(QPen(Qt::black, 4));
    const double threshold = x(AvqiDysphonicThreshold);
    painter.drawLine(QPointF(threshold, barTop - 8), QPointF(threshold, barTop + Height + 8));
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    const double marker = x(avqi);
    painter.drawPolygon(QPolygonF(
        {QPointF(marker - 18, top + 4), QPointF(marker + 18, top + 4), QPointF(marker, barTop)}));
    for (int tick = 0; tick <= static_cast<int>(AvqiScaleTop); tick += 2) {
        DrawLine(painter, x(tick) - 50, barTop + Height, 100, QString::number(tick), SmallFont,
                 Qt::AlignHCenter);
    }
}

double PaintAvqi(QPainter& painter, double top, const VoiceReport& report) {
    DrawLine(painter, RightLeft, top, RightWidth, QStringLiteral("Acoustic Voice Quality Index"),
             LabelFont);
    if (!report.Avqi) {
        DrawLine(painter, RightLeft, top + LineHeight, RightWidth,
                 QStringLiteral("No speech sample was given."), BodyFont);
        return top + 2 * LineHeight + SectionGap;
    }
    const AvqiFigures& a = *report.Avqi;
    DrawLine(
        painter, RightLeft, top + LineHeight, RightWidth,
        Text(AvqiText(a.Avqi)) +
            QStringLiteral(" (threshold %1)").arg(QString::number(AvqiDysphonicThreshold, 'f', 2)),
        StrongFont);
    PaintAvqiScale(painter, top + 2 * LineHeight, a.Avqi);
    DrawLine(painter, RightLeft, top + 2 * LineHeight + 140, RightWidth,
             QStringLiteral("from %1 s of voiced speech and the vowel's last 3 s")
                 .arg(QString::number(a.SpeechVoicedSeconds, 'f', 2)),
             SmallFont);
    return top + 3 * LineHeight + 140 + SectionGap;
}

double PaintVerdicts(QPainter& painter, double top, const VoiceReport& report) {
    const std::vector<std::pair<QString, std::string>> lines{
        {QStringLiteral("Steadiness: "), PageSteadinessText(report)},
        {QStringLiteral("Recording quality: "), PageQualityText(report)},
        {QStringLiteral("Cycles: "), CycleCountsText(CountCycles(report))}};
    for (const auto& [label, text] : lines) {
        DrawLine(painter, Margin, top, ContentWidth, label + Text(text), BodyFont);
        top += LineHeight;
    }
    return top;
}

void PaintFooter(QPainter& painter) {
    const double top = PageHeight - Margin;
    painter.setPen(QPen(RuleColor, 2));
    painter.drawLine(QPointF(Margin, top), QPointF(Margin + ContentWidth, top));
    DrawLine(painter, Margin, top, ContentWidth,
             VersionText() + QStringLiteral(": figures as tesmera-cli report gives them"),
             SmallFont);
}

// Maps the page's coordinates onto the device, whole and centred.
void FitPage(QPainter& painter) {
    const QRect device = painter.viewport();
    const double scale = std::min(device.width() / PageWidth, device.height() / PageHeight);
    painter.translate(device.left() + (device.width() - PageWidth * scale) / 2,
                      device.top() + (device.height() - PageHeight * scale) / 2);
    painter.scale(scale, scale);
}

}  // namespace

QImage PageOverview(const OverviewSource& source) {
    // Pixels about 0.2 mm wide on the page, so the time axis' labels stay
    // readable once scaled.
    return OverviewPicture(source, QSize(900, 180));
}

void PaintClinicalPage(QPainter& painter, const ClinicalPage& page, const VoiceReport& report) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    FitPage(painter);
    double top = PaintHeading(painter, Margin);
    top = PaintSummary(painter, top, report);
    top = PaintPatient(painter, top, page.Patient);
    top = PaintRecording(painter, top, page, report);
    top = PaintOverview(painter, top, page.Overview);
    top = std::max(PaintModels(painter, top, report), PaintAvqi(painter, top, report));
    top = PaintMeasures(painter, top, report);
    PaintVerdicts(painter, top + SectionGap, report);
    PaintFooter(painter);
    painter.restore();
}

QByteArray ClinicalPdf(const ClinicalPage& page, const VoiceReport& report) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setResolution(PdfResolution);
        writer.setCreator(VersionText());
        writer.setTitle(QStringLiteral("Voice report: ") + page.RecordingName);
        QPainter painter(&writer);
        PaintClinicalPage(painter, page, report);
    }
    return bytes;
}

void WriteClinicalPdf(const std::string& path, const ClinicalPage& page,
                      const VoiceReport& report) {
    const QByteArray pdf = ClinicalPdf(page, report);
    OutputFile file(path);
    file.Write(std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    file.Commit();
}

}  // namespace tesmera
