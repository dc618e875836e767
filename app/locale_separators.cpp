// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/locale_separators.h"

#include <QLocale>

namespace tesmera {

NumberSeparators LocaleNumberSeparators() {
    const QLocale locale;
    return {locale.decimalPoint(), locale.groupSeparator()};
}

}  // namespace tesmera
