// The user's regional number settings, read at each formatting call so a
// change of locale (or a test's QLocale::setDefault) takes effect at once.
#pragma once

#include <string>

namespace tesmera {

std::string RegionalDecimalSeparator();
std::string RegionalThousandsSeparator();

}  // namespace tesmera
