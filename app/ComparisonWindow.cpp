// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ComparisonWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/number_text.h"
#include "app/RecordingOverview.h"
#include "app/locale_separators.h"
#include "recording/report_comparison.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

QString Number(const std::optional<double>& value, int digits, const QString& decimal,
               bool signedText = false) {
    if (!value) {
        return QStringLiteral("n/a");
    }
    const QString text =
        QString::fromStdString(FixedText(*value, 15, digits, decimal.toStdString()));
    return signedText && *value >= 0 ? QLatin1Char('+') + text : text;
}

QString FileName(const QString& path) {
    return QString::fromStdString(FileNamePart(path.toStdString()));
}

// "Before: anna_1.wav" over the recording's overview.
void AddRecording(QVBoxLayout* layout, const QString& role, const QString& path,
                  const RecordingModel& model, QWidget* parent) {
    auto* caption = new QLabel(role.arg(FileName(path)), parent);
    auto* overview = new RecordingOverview(model, parent);
    overview->setAccessibleName(caption->text());
    layout->addWidget(caption);
    layout->addWidget(overview, 1);
}

QTableWidget* ComparisonTable(const std::vector<QStringList>& rows, QWidget* parent) {
    const QStringList titles{ComparisonWindow::tr("Figure"), ComparisonWindow::tr("Before"),
                             ComparisonWindow::tr("After"),  ComparisonWindow::tr("Change"),
                             ComparisonWindow::tr("Noise"),  ComparisonWindow::tr("Verdict")};
    auto* table =
        new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(titles.size()), parent);
    table->setObjectName(QStringLiteral("ComparisonTable"));
    table->setAccessibleName(ComparisonWindow::tr("Figures before and after"));
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setTabKeyNavigation(false);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c > 0 && c < 5) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table->setItem(static_cast<int>(r), c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace

std::vector<QStringList> ComparisonRowTexts(const VoiceReport& before, const VoiceReport& after,
                                            const QString& decimal) {
    const auto changes = CompareReports(EstimatesOf(before), EstimatesOf(after));
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        const ComparedFigure& figure = ComparedFigures[i];
        const FigureChange& change = changes[i];
        if (!ComparisonShows(figure, change)) {
            continue;
        }
        QString name = QString::fromUtf8(figure.Name.data(), figure.Name.size());
        if (!figure.Unit.empty()) {
            name += QStringLiteral(" (%1)").arg(
                QString::fromUtf8(figure.Unit.data(), figure.Unit.size()));
        }
        const std::string_view verdict = VerdictText(change.Verdict);
        rows.push_back({name, Number(change.Before, figure.Digits, decimal),
                        Number(change.After, figure.Digits, decimal),
                        Number(change.Change, figure.Digits, decimal, true),
                        Number(change.Noise, figure.Digits, decimal),
                        QString::fromUtf8(verdict.data(), verdict.size())});
    }
    return rows;
}

ComparisonWindow::ComparisonWindow(const QString& beforePath, const RecordingModel& before,
                                   const QString& afterPath,
                                   std::shared_ptr<const RecordingModel> after, QWidget* parent)
    : QWidget(parent, Qt::Window), after_(std::move(after)) {
    setObjectName(QStringLiteral("ComparisonWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Comparison - %1 and %2").arg(FileName(beforePath), FileName(afterPath)));
    auto* layout = new QVBoxLayout(this);
    AddRecording(layout, tr("Before: %1"), beforePath, before, this);
    AddRecording(layout, tr("After: %1"), afterPath, *after_, this);
    layout->addWidget(ComparisonTable(ComparisonRowTexts(before.Report, after_->Report,
                                                         LocaleNumberSeparators().Decimal),
                                      this),
                      3);
    auto* note = new QLabel(
        tr("\"changed\": the change exceeds its noise, 1.96 standard errors of the difference "
           "from each recording's own spread (AVQI: its published test-retest figure, 0.54)."),
        this);
    note->setWordWrap(true);
    layout->addWidget(note);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
    resize(780, 900);
}

}  // namespace tesmera
