// SPDX-License-Identifier: GPL-3.0-or-later
// A command line that cannot be carried out as given: the command stops
// before it reads or writes anything, and exits with ExitUsage.
#pragma once

#include "base/TesmeraError.h"

namespace tesmera {

class UsageError : public TesmeraError {
  public:
    explicit UsageError(const std::string& message) : TesmeraError(message) {}
};

}  // namespace tesmera
