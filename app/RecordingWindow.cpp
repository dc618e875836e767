// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingWindow.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/CycleDetailView.h"
#include "app/RecordingOverview.h"
#include "app/locale_separators.h"
#include "app/native_file_name.h"
#include "app/recording_texts.h"
#include "chart/label_format.h"
#include "recording/cycle_file_name.h"
#include "recording/voice_file_writer.h"
#include "wave/OutputFile.h"
#include "wave/errors.h"
#include "wave/file_name.h"
#include "wave/file_node.h"

namespace tesmera {

namespace {

QString Decimal() {
    return LocaleNumberSeparators().Decimal;
}

QTableWidget* ReadOnlyTable(const QString& name, const QStringList& titles, int rows,
                            QWidget* parent) {
    auto* table = new QTableWidget(rows, static_cast<int>(titles.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab leaves the table; the arrows move between its cells.
    table->setTabKeyNavigation(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void FillRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

// Shrinks a table to its rows, so the window shows all of them without a
// scroll bar.
void FitHeight(QTableWidget* table) {
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row) {
        height += table->rowHeight(row);
    }
    table->setFixedHeight(height);
}

// Between the main window and this one.
constexpr int Gap = 8;

}  // namespace

std::size_t FirstSelectedCycle(const VoiceReport& report) {
    const double middle = (report.StretchStartSeconds + report.StretchEndSeconds) / 2;
    return AnalysedCycleNearest(report, middle).value_or(report.Cycles.size() / 2);
}

RecordingWindow::RecordingWindow(QString path, RecordingModel model, UserDialogs& dialogs,
                                 AnalyseInMainWindow analyse, QWidget* parent)
    : QWidget(parent, Qt::Window),
      path_(std::move(path)),
      model_(std::move(model)),
      dialogs_(dialogs),
      analyse_(std::move(analyse)) {
    setObjectName(QStringLiteral("RecordingWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    ShowTitle();
    CreateLayout();
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
    // Tall enough for the whole report on a common screen; PlaceBeside
    // shrinks it to a smaller one.
    resize(780, 960);
    SelectCycle(FirstSelectedCycle(report_));
    detail_->setFocus();
}

void RecordingWindow::ShowTitle() {
    setWindowTitle(
        tr("Recording - %1").arg(QString::fromStdString(FileNamePart(path_.toStdString()))));
}

void RecordingWindow::CreateLayout() {
    auto* layout = new QVBoxLayout(this);
    overview_ = new RecordingOverview(model_, this);
    detail_ = new CycleDetailView(model_, this);
    connect(detail_, &CycleDetailView::CycleChosen, this, &RecordingWindow::SelectCycle);
    layout->addWidget(overview_, 1);
    layout->addWidget(detail_, 2);
    layout->addWidget(CreateViewScrollBar());
    layout->addWidget(CreateCycleRow());
    layout->addWidget(CreateAudioRow());
    layout->addWidget(CreateReportArea(), 4);
    layout->addWidget(CreatePageRow());
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setAccessibleName(tr("Status"));
    layout->addWidget(statusLine_);
}

QWidget* RecordingWindow::CreateCycleRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(tr("&Cycle"), row);
    cycleNumber_ = new QSpinBox(row);
    cycleNumber_->setObjectName(QStringLiteral("CycleNumber"));
    cycleNumber_->setRange(1, static_cast<int>(report_.Cycles.size()));
    cycleNumber_->setAccessibleName(tr("Selected cycle"));
    caption->setBuddy(cycleNumber_);
    connect(cycleNumber_, &QSpinBox::valueChanged, this,
            [this](int number) { SelectCycle(static_cast<std::size_t>(number - 1)); });
    cycleText_ = new QLabel(row);
    cycleText_->setObjectName(QStringLiteral("CycleText"));
    analyseButton_ = new QPushButton(tr("&Analyse in main window"), row);
    analyseButton_->setObjectName(QStringLiteral("AnalyseButton"));
    analyseButton_->setAccessibleName(QStringLiteral("Analyse in main window"));
    saveButton_ = new QPushButton(tr("&Save period as..."), row);
    saveButton_->setObjectName(QStringLiteral("SaveButton"));
    saveButton_->setAccessibleName(tr("Save period as"));
    // Queued, like the main window's commands: a press returns at once even
    // when a dialog follows.
    connect(analyseButton_, &QPushButton::clicked, this, &RecordingWindow::AnalyseSelectedCycle,
            Qt::QueuedConnection);
    connect(saveButton_, &QPushButton::clicked, this, &RecordingWindow::SaveSelectedCycle,
            Qt::QueuedConnection);
    // The cycle's line gets the room left over and may wrap, so a long line
    // never widens the window.
    cycleText_->setWordWrap(true);
    cycleText_->setMinimumWidth(120);
    layout->addWidget(caption);
    layout->addWidget(cycleNumber_);
    layout->addWidget(cycleText_, 1);
    layout->addWidget(analyseButton_);
    layout->addWidget(saveButton_);
    layout->addWidget(CreateCompareButton(row));
    return row;
}

// Scrolls the detail view along the stretch; the overview frames what it
// shows.
QScrollBar* RecordingWindow::CreateViewScrollBar() {
    viewScroll_ = new QScrollBar(Qt::Horizontal, this);
    viewScroll_->setObjectName(QStringLiteral("ViewScrollBar"));
    viewScroll_->setAccessibleName(tr("Position of the detailed view"));
    const double stretchFirst = detail_->View().First();
    connect(viewScroll_, &QScrollBar::valueChanged, this,
            [this, stretchFirst](int value) { detail_->ScrollTo(stretchFirst + value); });
    connect(detail_, &CycleDetailView::ViewChanged, this, &RecordingWindow::FollowView);
    FollowView();
    return viewScroll_;
}

void RecordingWindow::FollowView() {
    const ViewRange& view = detail_->View();
    const SampleSpan stretch = StretchSpan(report_, model_.SampleRate);
    const double whole = static_cast<double>(stretch.End - stretch.First);
    {
        const QSignalBlocker quiet(viewScroll_);
        viewScroll_->setRange(0, static_cast<int>(std::lround(whole - view.Span())));
        viewScroll_->setPageStep(static_cast<int>(std::lround(view.Span())));
        viewScroll_->setSingleStep(std::max(1, static_cast<int>(view.Span() / 10)));
        viewScroll_->setValue(
            static_cast<int>(std::lround(view.First() - static_cast<double>(stretch.First))));
    }
    overview_->SetView(view.First(), view.End(), view.ShowsAll());
}

// The report's tables and verdict scroll, so the window fits a small or
// highly scaled screen with every figure still in reach.
QScrollArea* RecordingWindow::CreateReportArea() {
    auto* report = new QWidget(this);
    auto* layout = new QVBoxLayout(report);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CreateSummaryLine());
    layout->addWidget(CreateModelTable());
    layout->addWidget(CreateMeasureTable());
    verdict_ = new QLabel(SteadinessText(report_), report);
    verdict_->setObjectName(QStringLiteral("SteadinessVerdict"));
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Reached by Tab and read out whole, since the sentence is the verdict.
    verdict_->setFocusPolicy(Qt::StrongFocus);
    verdict_->setAccessibleName(tr("Steadiness"));
    verdict_->setAccessibleDescription(verdict_->text());
    layout->addWidget(verdict_);
    layout->addStretch(1);
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("ReportArea"));
    area->setAccessibleName(tr("Report"));
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(report);
    return area;
}

// The line a clinician reads first, above every figure.
QLabel* RecordingWindow::CreateSummaryLine() {
    auto* summary = new QLabel(SummaryText(report_), this);
    summary->setObjectName(QStringLiteral("SummaryLine"));
    QFont bold = summary->font();
    bold.setBold(true);
    summary->setFont(bold);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary->setFocusPolicy(Qt::StrongFocus);
    summary->setAccessibleName(tr("Summary"));
    summary->setAccessibleDescription(summary->text());
    summary_ = summary;
    return summary;
}

void RecordingWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (verdictsAnnounced_) {
        return;
    }
    verdictsAnnounced_ = true;
    for (QLabel* label : {summary_, verdict_}) {
        for (const QAccessible::Event change :
             {QAccessible::NameChanged, QAccessible::DescriptionChanged}) {
            QAccessibleEvent changed(label, change);
            QAccessible::updateAccessibility(&changed);
        }
    }
}

QTableWidget* RecordingWindow::CreateModelTable() {
    const std::vector<QStringList> rows = ModelRows(report_, Decimal());
    QTableWidget* table = ReadOnlyTable(QStringLiteral("ModelTable"), ModelColumnTitles(),
                                        static_cast<int>(rows.size()), this);
    table->setAccessibleName(tr("Score models over the cycles"));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        FillRow(table, static_cast<int>(r), rows[r]);
    }
    FitHeight(table);
    return table;
}

QTableWidget* RecordingWindow::CreateMeasureTable() {
    const std::vector<MeasureText> rows =
        MeasureRows(report_, RecordingNameGrade(path_.toStdString()), Decimal());
    QTableWidget* table = ReadOnlyTable(QStringLiteral("MeasureTable"),
                                        {tr("Measure"), tr("Value"), tr("Published norm")},
                                        static_cast<int>(rows.size()), this);
    table->setAccessibleName(tr("Voice measures beside their published norms"));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        FillRow(table, row, {rows[r].name, rows[r].value, rows[r].norm});
        table->item(row, 2)->setToolTip(rows[r].caveat);
        if (rows[r].outside) {
            // The words say it too, for a screen reader and a grey print.
            QFont bold = table->item(row, 1)->font();
            bold.setBold(true);
            table->item(row, 1)->setFont(bold);
        }
    }
    FitHeight(table);
    return table;
}

void RecordingWindow::PlaceBeside(const QWidget& mainWindow) {
    // Inside the screen's free area, shrunk to it when needed; to the right
    // of the main window, else to its left, so the main window's score
    // report stays in sight, else as near to it as the screen allows.
    const QRect screen = mainWindow.screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    resize(size().boundedTo(screen.size() - frame));
    const QRect beside = mainWindow.frameGeometry();
    const int width = frameGeometry().width();
    int left = beside.right() + 1 + Gap;
    if (left + width > screen.right() + 1 && beside.left() - Gap - width >= screen.left()) {
        left = beside.left() - Gap - width;
    }
    const auto within = [](int at, int first, int last) {
        return std::max(first, std::min(at, last));
    };
    move(within(left, screen.left(), screen.right() + 1 - width),
         within(beside.top(), screen.top(), screen.bottom() + 1 - frameGeometry().height()));
}

void RecordingWindow::SelectCycle(std::size_t index) {
    selected_ = std::min(index, report_.Cycles.size() - 1);
    const ReportedCycle& cycle = report_.Cycles[selected_];
    const QString about =
        CycleText(cycle, static_cast<int>(selected_ + 1), static_cast<int>(report_.Cycles.size()),
                  model_.SampleRate, Decimal());
    overview_->SetSelectedCycle(selected_);
    detail_->SetSelectedCycle(selected_, about);
    {
        const QSignalBlocker quiet(cycleNumber_);
        cycleNumber_->setValue(static_cast<int>(selected_ + 1));
    }
    cycleText_->setText(about);
    // A cycle left out of the analysis has no period to load or save.
    analyseButton_->setEnabled(!cycle.Period.empty());
    saveButton_->setEnabled(!cycle.Period.empty());
}

void RecordingWindow::AnalyseSelectedCycle() {
    const ReportedCycle& cycle = report_.Cycles[selected_];
    if (!cycle.Period.empty()) {
        analyse_(path_, cycle.Period);
    }
}

void RecordingWindow::SaveSelectedCycle() {
    const ReportedCycle& cycle = report_.Cycles[selected_];
    if (cycle.Period.empty()) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.ChooseSavePath(ProposedPeriodPath(path_, static_cast<int>(selected_ + 1)));
    if (!chosen) {
        return;
    }
    if (IsTheRecording(*chosen, tr("period"))) {
        return;
    }
    const std::string target = NativeFileName(*chosen);
    try {
        WriteVoicePeriod(target, cycle.Period);
        statusLine_->setText(tr("Cycle %1 saved as %2.").arg(selected_ + 1).arg(*chosen));
    } catch (const OutputFileError& error) {
        statusLine_->clear();
        // The message names the file and the reason.
        dialogs_.ShowError(QString::fromStdString(ErrorBoxText(error.what())));
    }
}

bool RecordingWindow::IsTheRecording(const QString& chosen, const QString& what) {
    if (!NameTheSameFile(NativeFileName(chosen), NativeFileName(path_))) {
        return false;
    }
    // The file dialog's own "replace?" prompt does not know that the file
    // is the recording this window reads.
    dialogs_.ShowError(tr("%1: is the recording this window shows, which the %2 would "
                          "overwrite; nothing was written.")
                           .arg(chosen, what));
    return true;
}

}  // namespace tesmera
