// SPDX-License-Identifier: GPL-3.0-or-later
// The load command: discard every earlier result, let the user choose a
// voice file, check its header, read its samples and show the statistics.
// Files given from outside and periods cut from a recording go through the
// same steps, with the dialog's choice replaced.
#include <QLineEdit>

#include "analysis/number_text.h"
#include "analysis/period_analysis.h"
#include "app/TForm1.h"
#include "app/native_file_name.h"
#include "wave/file_name.h"

namespace tesmera {

void TForm1::SpeedButton1Click() {
    RunCommand([this] {
        StartLoad();
        const std::optional<QString> chosen = dialogs_->ChooseVoiceFile(lastFolder_);
        if (chosen) {
            RememberFolderOf(*chosen);
        }
        LoadVoiceFile(chosen);
    });
}

void TForm1::LoadPeriod(const QString& fileName, std::span<const std::int16_t> samples) {
    RunCommand([&] {
        StartLoad();
        state_.FileName = NativeFileName(fileName);
        PeriodAnalysis record;
        record.Path = state_.FileName;
        LoadPeriodSamples(record, samples, state_.Samples);
        ShowLoadedPeriod(record);
    });
}

void TForm1::StartLoad() {
    ResetAll();
    Osciloskop1Ini();
    BarChartRefill();
    repaint();
}

void TForm1::LoadVoiceFile(const std::optional<QString>& chosen) {
    if (!chosen) {
        state_.FileLoaded = false;
        return;
    }
    state_.FileName = NativeFileName(*chosen);

    PeriodAnalysis record;
    record.Path = state_.FileName;
    if (!LoadPeriodFile(record, state_.Samples, Warnings())) {
        return;
    }
    ShowLoadedPeriod(record);
}

void TForm1::ShowLoadedPeriod(const PeriodAnalysis& record) {
    state_.TakeLoaded(record);

    // FundamentalSignal was zeroed by the reset: the red trace lies flat under
    // the blue period.
    Osciloskop11(state_.Samples, state_.FundamentalSignal, state_.MaxAbs, state_.FundamentalMax,
                 state_.SampleCount);
    DescribeOscilloscope(
        tr("The loaded voice period, %n samples, in blue", nullptr, state_.SampleCount));
    ShowLoadedValues();
    repaint();
}

void TForm1::ShowLoadedValues() {
    SetText(Edit1, QString::fromStdString(AsciiLower(FileNamePart(state_.FileName))));
    SetText(Edit2, Fixed(state_.Mean, 14, 2));
    SetText(Edit3, Fixed(state_.StdDev, 14, 2));
    SetText(Edit4, QString::fromStdString(IntegerText(state_.SampleCount)));
    SetText(Edit5, Fixed(state_.MaxAbs, 14, 0));
    SetText(Edit14, Fixed(state_.PeriodFrequency, 14, 2));
    SetText(Edit15, Fixed(state_.PeriodMs, 14, 4));
}

}  // namespace tesmera
