// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandQueue.h"

#include <utility>

namespace tesmera {

namespace {

// Clears a flag when the command returns, also by an exception.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

bool CommandQueue::Request(std::function<void()> command) {
    if (Busy()) {
        return false;
    }
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, command = std::move(command)] {
            pending_ = false;
            const FlagScope running(running_);
            command();
        },
        Qt::QueuedConnection);
    return true;
}

}  // namespace tesmera
