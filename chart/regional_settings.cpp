#include "chart/regional_settings.h"

#include <QLocale>

namespace tesmera {

// QLocale() is the system locale unless the program set another default.
std::string RegionalDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

std::string RegionalThousandsSeparator() { return QLocale().groupSeparator().toStdString(); }

}  // namespace tesmera
