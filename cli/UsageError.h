// SPDX-License-Identifier: GPL-3.0-or-later
// A command line that cannot be carried out as given: the command stops
// before it reads or writes anything, and exits with ExitUsage.
#pragma once

#include <stdexcept>

namespace tesmera {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace tesmera
