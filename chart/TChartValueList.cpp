// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartValueList.h"

#include <cmath>
#include <utility>

#include "chart/TChartSeries.h"
#include "chart/chart_errors.h"

namespace tesmera {

TChartValueList::TChartValueList(TChartSeries& owner, QString name, TChartListOrder order)
    : owner_(owner), name_(std::move(name)), order_(order) {
    // A changed multiplier scales every value; the statistics follow before
    // the repaint can ask for them.
    SetOnChange([this] {
        statsStale_ = true;
        owner_.RequestRepaint();
    });
}

double TChartValueList::ValueAt(int valueIndex) const {
    if (valueIndex < 0 || valueIndex >= ValueCount()) {
        throw ListIndexError(valueIndex);
    }
    return values_[static_cast<std::size_t>(valueIndex)] * multiplier_;
}

int TChartValueList::OrderedIndexFor(double value) const {
    const int count = ValueCount();
    if (order_ == loNone || count == 0) {
        return count;
    }
    // `stays` is true while the value at an index may stay before `value`.
    auto stays = [this, value](int i) {
        const double stored = values_[static_cast<std::size_t>(i)];
        return order_ == loAscending ? stored <= value : stored >= value;
    };
    int index = count - 1;
    while (index >= 0 && !stays(index)) {
        --index;
    }
    return index + 1;
}

int TChartValueList::InsertOrdered(double value) {
    const int index = OrderedIndexFor(value);
    values_.insert(values_.begin() + index, value);
    statsStale_ = true;
    return index;
}

void TChartValueList::InsertValueAt(int valueIndex, double value) {
    if (valueIndex < 0 || valueIndex > ValueCount()) {
        throw ListIndexError(valueIndex);
    }
    values_.insert(values_.begin() + valueIndex, value);
    statsStale_ = true;
}

void TChartValueList::RemoveAllValues() {
    std::vector<double>().swap(values_);
    statsStale_ = true;
}

void TChartValueList::SetMultiplier(double multiplier) {
    SetAndNotify(multiplier_, multiplier);
}

void TChartValueList::SetDateTime(bool dateTime) {
    SetAndNotify(dateTime_, dateTime);
}

const TChartValueList::Statistics& TChartValueList::Stats() const {
    if (statsStale_) {
        stats_ = ComputeStats();
        statsStale_ = false;
    }
    return stats_;
}

TChartValueList::Statistics TChartValueList::ComputeStats() const {
    Statistics stats;
    if (values_.empty()) {
        return stats;
    }
    const double first = ValueAt(0);
    stats = {first, first, first, std::fabs(first)};
    for (int i = 1; i < ValueCount(); ++i) {
        const double value = ValueAt(i);
        if (value < stats.lowest) {
            stats.lowest = value;
        } else if (value > stats.highest) {
            stats.highest = value;
        }
        stats.sum += value;
        stats.absSum += std::fabs(value);
    }
    return stats;
}

}  // namespace tesmera
