// SPDX-License-Identifier: GPL-3.0-or-later
// Errors raised by the chart component's own containers.
#pragma once

#include "base/TesmeraError.h"

namespace tesmera {

// An index outside a value list, label list or colour list. The message is the
// toolkit's "List index out of bounds (%d)" with the offending index.
class ListIndexError : public TesmeraError {
  public:
    explicit ListIndexError(int index);
};

}  // namespace tesmera
