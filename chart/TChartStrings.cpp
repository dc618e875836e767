// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartStrings.h"

#include "chart/chart_errors.h"

namespace tesmera {

const QString& TChartStrings::operator[](int index) const {
    if (index < 0 || index >= Count()) {
        throw ListIndexError(index);
    }
    return lines_[static_cast<std::size_t>(index)];
}

void TChartStrings::Clear() {
    if (lines_.empty()) {
        return;
    }
    lines_.clear();
    Changed();
}

int TChartStrings::Add(const QString& line) {
    lines_.push_back(line);
    Changed();
    return Count() - 1;
}

}  // namespace tesmera
