// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TRect.h"

#include <algorithm>

namespace tesmera {

TRect TRect::Ordered() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

TRect TRect::Intersected(const TRect& other) const {
    const TRect both{std::max(left, other.left), std::max(top, other.top),
                     std::min(right, other.right), std::min(bottom, other.bottom)};
    return both.IsEmpty() ? TRect{} : both;
}

}  // namespace tesmera
