// SPDX-License-Identifier: GPL-3.0-or-later
// Which points of a series lie inside the plot area, found on the series'
// position list.
#pragma once

namespace tesmera {

class TChartValueList;

struct ShownRange {
    int First = -1;  // -1: no point is shown
    int Last = -1;   // may end below First, and then nothing is drawn
};

// The points whose position lies in [low, high], both inclusive. A list in
// loNone order is never searched: every point counts as shown. An ordered
// list is walked from its start to the first position not below low, and
// from there to the last position not above high.
ShownRange FindShownRange(const TChartValueList& positions, double low, double high);

}  // namespace tesmera
