// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/override_cursor.h"

#include <QApplication>
#include <QCursor>

namespace tesmera {

OverrideCursor::OverrideCursor(Qt::CursorShape shape) {
    QApplication::setOverrideCursor(QCursor(shape));
}

OverrideCursor::~OverrideCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace tesmera
