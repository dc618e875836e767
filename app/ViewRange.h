// SPDX-License-Identifier: GPL-3.0-or-later
// The part of a stretch of samples a zoomable view shows: the whole stretch
// at its widest, a span no shorter than the caller allows at its closest,
// and always inside the stretch.
#pragma once

namespace tesmera {

class ViewRange {
  public:
    // The whole of [first, end) shown.
    ViewRange(double first, double end);

    double First() const { return first_; }
    double End() const { return first_ + span_; }
    double Span() const { return span_; }
    bool ShowsAll() const;

    // Scales the span by `factor` (below 1 zooms in) within [shortest, the
    // whole stretch], keeping `anchor` at the same place in the view.
    void Zoom(double factor, double anchor, double shortest);
    // The view starting at `first`, moved back inside the stretch.
    void MoveTo(double first);
    // Moves the view the least that shows [from, to) whole, or its start
    // when it is longer than the view.
    void Reveal(double from, double to);

  private:
    double stretchFirst_;
    double stretchEnd_;
    double first_;
    double span_;
};

}  // namespace tesmera
