// SPDX-License-Identifier: GPL-3.0-or-later
// The recording window's clinical page: the patient's details typed in the
// window, "Save report as PDF..." and "Print..." (Ctrl+P).
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>

#include "app/RecordingOverview.h"
#include "app/RecordingWindow.h"
#include "app/native_file_name.h"
#include "wave/OutputFile.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

// A captioned field of the page row; the caption's mnemonic reaches it.
QLineEdit* AddField(QHBoxLayout* layout, const QString& caption, const QString& name,
                    const QString& accessibleName) {
    auto* label = new QLabel(caption);
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field, 1);
    return field;
}

QPushButton* AddButton(QHBoxLayout* layout, const QString& text, const QString& name,
                       const QString& accessibleName) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    layout->addWidget(button);
    return button;
}

}  // namespace

QWidget* RecordingWindow::CreatePageRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    patientId_ = AddField(layout, tr("Patient &ID"), QStringLiteral("PatientId"), tr("Patient ID"));
    born_ = AddField(layout, tr("&Born"), QStringLiteral("PatientBorn"), tr("Date of birth"));
    assessed_ =
        AddField(layout, tr("Assess&ed"), QStringLiteral("AssessmentDate"), tr("Assessment date"));
    assessed_->setText(QDate::currentDate().toString(Qt::ISODate));
    QPushButton* save = AddButton(layout, tr("Save report as &PDF..."),
                                  QStringLiteral("SaveReportButton"), tr("Save report as PDF"));
    QPushButton* print =
        AddButton(layout, tr("Pri&nt..."), QStringLiteral("PrintButton"), tr("Print report"));
    // Queued, like the window's other commands: a press returns at once
    // even when a dialog follows.
    connect(save, &QPushButton::clicked, this, &RecordingWindow::SaveReportPdf,
            Qt::QueuedConnection);
    connect(print, &QPushButton::clicked, this, &RecordingWindow::PrintReport,
            Qt::QueuedConnection);
    connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this,
            &RecordingWindow::PrintReport);
    return row;
}

ClinicalPage RecordingWindow::Page() const {
    ClinicalPage page;
    page.Patient = {patientId_->text(), born_->text(), assessed_->text()};
    page.RecordingName = QString::fromStdString(FileNamePart(path_.toStdString()));
    page.DurationSeconds = static_cast<double>(model_.SampleCount) / model_.SampleRate;
    page.SampleRateHz = model_.SampleRate;
    page.Overview = PageOverview(ModelOverview(model_));
    return page;
}

void RecordingWindow::SaveReportPdf() {
    const QFileInfo recording(path_);
    const std::optional<QString> chosen = dialogs_.ChooseReportPdfPath(
        recording.dir().filePath(recording.completeBaseName() + QStringLiteral(".pdf")));
    if (!chosen || IsTheRecording(*chosen, tr("report"))) {
        return;
    }
    try {
        WriteClinicalPdf(NativeFileName(*chosen), Page(), report_);
        statusLine_->setText(tr("Report saved as %1.").arg(*chosen));
    } catch (const OutputFileError& error) {
        statusLine_->clear();
        // The message names the file and the reason.
        dialogs_.ShowError(QString::fromStdString(ErrorBoxText(error.what())));
    }
}

void RecordingWindow::PrintReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setDocName(tr("Voice report: %1").arg(FileNamePart(path_.toStdString()).c_str()));
    if (!dialogs_.ChoosePrinter(printer)) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.ShowError(tr("The report could not be printed: the printer did not start."));
        return;
    }
    PaintClinicalPage(painter, Page(), report_);
    painter.end();
    statusLine_->setText(tr("Report sent to %1.")
                             .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                     : printer.outputFileName()));
}

}  // namespace tesmera
