// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace tesmera {

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

// Overrides stack: the arrow goes on top of a busy cursor and comes off again.
IdleCursor::IdleCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

IdleCursor::~IdleCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace tesmera
