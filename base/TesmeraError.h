// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every error that ends a command, in any layer. Each carries the
// exact text that the general error box shows (before the box adds its
// closing full stop).
#pragma once

#include <stdexcept>

namespace tesmera {

class TesmeraError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace tesmera
