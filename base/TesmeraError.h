// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every error that ends a command, in any layer. Each carries the
// exact text that the general error box shows (before the box adds its
// closing full stop) and the status code that outputs give for it.
#pragma once

#include <stdexcept>
#include <string>

#include "base/Status.h"

namespace tesmera {

class TesmeraError : public std::runtime_error {
  public:
    explicit TesmeraError(const std::string& message, StatusCode code = StatusCode::Error)
        : std::runtime_error(message), code_(code) {}

    StatusCode Code() const { return code_; }
    Status AsStatus() const { return {code_, what()}; }

  private:
    StatusCode code_;
};

}  // namespace tesmera
