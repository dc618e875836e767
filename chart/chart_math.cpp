// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_math.h"

#include <cstdint>
#include <cstdlib>

namespace tesmera {

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<std::int64_t>(c))) {
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    }
    return static_cast<int>(quotient);
}

}  // namespace tesmera
