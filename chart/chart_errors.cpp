// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_errors.h"

#include <string>

namespace tesmera {

ListIndexError::ListIndexError(int index)
    : TesmeraError("List index out of bounds (" + std::to_string(index) + ")") {}

}  // namespace tesmera
