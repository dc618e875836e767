// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ViewRange.h"

#include <algorithm>

namespace tesmera {

ViewRange::ViewRange(double first, double end)
    : stretchFirst_(first), stretchEnd_(std::max(end, first)), first_(first), span_(end - first) {
    span_ = std::max(span_, 0.0);
}

bool ViewRange::ShowsAll() const {
    return span_ >= stretchEnd_ - stretchFirst_;
}

void ViewRange::Zoom(double factor, double anchor, double shortest) {
    const double whole = stretchEnd_ - stretchFirst_;
    const double span = std::clamp(span_ * factor, std::min(shortest, whole), whole);
    const double share = span_ > 0 ? (anchor - first_) / span_ : 0;
    span_ = span;
    MoveTo(anchor - share * span);
}

void ViewRange::MoveTo(double first) {
    first_ = std::clamp(first, stretchFirst_, stretchEnd_ - span_);
}

void ViewRange::Reveal(double from, double to) {
    if (to - from > span_ || from < first_) {
        MoveTo(from);
    } else if (to > End()) {
        MoveTo(to - span_);
    }
}

}  // namespace tesmera
