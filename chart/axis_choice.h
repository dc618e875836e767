// SPDX-License-Identifier: GPL-3.0-or-later
// Which chart axes a series is drawn against.
#pragma once

namespace tesmera {

// aBothHorizAxis: the series belongs to the bottom and the top axis alike.
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
// aBothVertAxis: the series belongs to the left and the right axis alike.
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };

}  // namespace tesmera
