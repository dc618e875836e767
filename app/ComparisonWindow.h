// SPDX-License-Identifier: GPL-3.0-or-later
// Two recordings of one voice, before and after: their overviews one above
// the other, and per figure both values, the change and whether it is real
// (recording/report_comparison.h).
#pragma once

#include <memory>
#include <vector>

#include <QStringList>
#include <QWidget>

#include "app/RecordingModel.h"

namespace tesmera {

class ComparisonWindow : public QWidget {
    Q_OBJECT
  public:
    // `before` belongs to the caller and outlives this window (its parent's
    // recording); `after` is kept here.
    ComparisonWindow(const QString& beforePath, const RecordingModel& before,
                     const QString& afterPath, std::shared_ptr<const RecordingModel> after,
                     QWidget* parent);

  private:
    std::shared_ptr<const RecordingModel> after_;
};

// The comparison table's rows: figure (with its unit), before, after,
// change, noise and verdict, for every figure the comparison shows;
// numbers with `decimal` as their separator, "n/a" where missing.
std::vector<QStringList> ComparisonRowTexts(const VoiceReport& before, const VoiceReport& after,
                                            const QString& decimal);

}  // namespace tesmera
