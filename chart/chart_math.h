// SPDX-License-Identifier: GPL-3.0-or-later
// Integer scaling shared by the chart's layout and gradient.
#pragma once

namespace tesmera {

// a * b / c rounded to the nearest integer, halves away from zero
// (MulDiv(5, 1, 2) = 3, MulDiv(-5, 1, 2) = -3). The product is formed in 64
// bits, so it does not overflow. A divisor of 0 gives 0: there is nothing to
// scale by, and no caller may shift a position or colour by a made-up amount.
int MulDiv(int a, int b, int c);

}  // namespace tesmera
