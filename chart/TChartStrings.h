// SPDX-License-Identifier: GPL-3.0-or-later
// An ordered list of text lines (the lines of a chart title). Every change
// notifies the owner; operations that change nothing do not.
#pragma once

#include <vector>

#include <QString>

#include "chart/TChangeNotifier.h"

namespace tesmera {

class TChartStrings : public TChangeNotifier {
  public:
    int Count() const { return static_cast<int>(lines_.size()); }
    // Throws ListIndexError outside 0 .. Count() - 1.
    const QString& operator[](int index) const;
    const std::vector<QString>& Lines() const { return lines_; }

    void Clear();
    // Appends a line and returns its index.
    int Add(const QString& line);

  private:
    std::vector<QString> lines_;
};

}  // namespace tesmera
