// SPDX-License-Identifier: GPL-3.0-or-later
// The number separators of the user's locale, for the value fields, the
// report and the chart's labels.
#pragma once

#include "chart/label_format.h"

namespace tesmera {

// The separators of the current default locale (the system's unless a test
// chose another with QLocale::setDefault), read afresh on every call.
NumberSeparators LocaleNumberSeparators();

}  // namespace tesmera
