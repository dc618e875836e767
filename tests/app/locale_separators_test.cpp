// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/locale_separators.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace tesmera {
namespace {

TEST(LocaleNumberSeparators, FollowsTheDefaultLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const NumberSeparators german = LocaleNumberSeparators();
    QLocale::setDefault(saved);
    EXPECT_EQ(german.Decimal, ",");
    EXPECT_EQ(german.Thousands, ".");
    EXPECT_EQ(FormatAxisValue(1234.5, "#,##0.00", german), "1.234,50");
}

}  // namespace
}  // namespace tesmera
