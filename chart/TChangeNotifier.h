// SPDX-License-Identifier: GPL-3.0-or-later
// Base of everything in the chart that has settings (the chart itself, its
// axes, series and value lists, and sub-objects such as title lines, pens,
// brushes, fonts and walls): every change of a setting ends in one call of
// the handler installed for it, which leads to the owning chart's
// InvalidateChart. SetAndNotify is the one way a setter stores a value.
#pragma once

#include <functional>
#include <utility>

namespace tesmera {

class TChangeNotifier {
  public:
    using Handler = std::function<void()>;

    void SetOnChange(Handler handler) { onChange_ = std::move(handler); }

  protected:
    TChangeNotifier() = default;
    // A copy belongs to no owner until one installs its handler, so copying a
    // pen's settings never notifies the chart the original belongs to.
    TChangeNotifier(const TChangeNotifier& /*other*/) {}
    TChangeNotifier& operator=(const TChangeNotifier& /*other*/) { return *this; }
    ~TChangeNotifier() = default;

    void Changed() const {
        if (onChange_) {
            onChange_();
        }
    }

    // Stores `value` and notifies only when it differs from `field`.
    template <class T>
    void SetAndNotify(T& field, const T& value) {
        if (field == value) {
            return;
        }
        field = value;
        Changed();
    }

  private:
    Handler onChange_;
};

}  // namespace tesmera
