// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include "app/TMemo.h"

#include "analysis/number_text.h"
#include "app/TImage.h"
#include "app/glyphs.h"
#include "app/locale_separators.h"
#include "app/oscilloscope.h"
#include "app/override_cursor.h"
#include "app/window_accessibility.h"
#include "chart/TBarSeries.h"
#include "chart/TChartControl.h"
#include "wave/errors.h"

namespace tesmera {

namespace {

constexpr int ClientWidth = 590;
constexpr int ClientHeight = 423;

}  // namespace

TForm1::TForm1(AnalysisState& state, std::unique_ptr<UserDialogs> dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      state_(state),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtUserDialogs>(this)) {
    AnnounceWindowsAsFrames();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" Tesmera - demo"));
    setWindowIcon(QIcon(QPixmap::fromImage(WindowIconImage())));
    setFixedSize(ClientWidth, ClientHeight);
    CreateControls();
    CreateRecordingAnalysis();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

// Nothing is saved: closing the window simply ends the program.
void TForm1::FormClose() {}

void TForm1::FormCreate() {
    ResetAll();
    Osciloskop1Ini();
    BarChartRefill();
    repaint();
}

void TForm1::ResetAll() {
    for (QLineEdit* field :
         {Edit1, Edit2, Edit3, Edit4, Edit5, Edit14, Edit15, Edit16, Edit17, Edit18, Edit19}) {
        SetText(field, QString());
    }
    for (TMemo* memo : {Memo1, Memo3, Memo4}) {
        memo->SetText(QString());
    }
    state_.ResetResults();
}

void TForm1::Osciloskop1Ini() {
    DrawOscilloscopeFrame(Image1->Surface());
    DescribeOscilloscope(tr("Empty: no voice period shown"));
    Image1->repaint();
}

void TForm1::Osciloskop11(const AnalysisState::Signal& signalValues,
                          const AnalysisState::Signal& modelValues, double signalScale,
                          double modelScale, std::int32_t pointCount) {
    // Only the stored samples are drawn; a longer recording is spread over
    // the width by the part that fits the buffer.
    const std::int32_t drawnCount = std::min(pointCount, MaxSamples);
    DrawOscilloscopeTraces(Image1->Surface(), {signalValues, signalScale},
                           {modelValues, modelScale}, drawnCount);
    Image1->repaint();
}

void TForm1::BarChartRefill() {
    TChart& chart = Chart1->Chart();
    chart.Title().Text().Clear();
    chart.Title().Text().Add(QStringLiteral(" Fourier Coefficients \"AAx\" "));
    BarSeries1->Marks().SetVisible(false);
    BarSeries1->ClearPoints();
    for (int i = 1; i <= ChartedHarmonics; ++i) {
        BarSeries1->AppendValue(state_.AA[i], QString::number(i), clBlue);
    }
    DescribeChart();
}

WarningSink TForm1::Warnings() {
    return [this](const Status& warning) {
        dialogs_->ShowWarning(QString::fromStdString(warning.Text));
    };
}

void TForm1::RunCommand(const std::function<void()>& command) {
    try {
        // Ends before the error box, which is no longer work in progress.
        const BusyCursor busy;
        command();
    } catch (const TesmeraError& error) {
        dialogs_->ShowError(QString::fromStdString(ErrorBoxText(error.what())));
    }
}

void TForm1::SetText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->repaint();
}

QString TForm1::Fixed(double value, int precision, int digits) const {
    return QString::fromStdString(
        FixedText(value, precision, digits, LocaleNumberSeparators().Decimal.toStdString()));
}

}  // namespace tesmera
