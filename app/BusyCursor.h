// SPDX-License-Identifier: GPL-3.0-or-later
// The application-wide busy cursor while a command works, as a scope: shown
// on construction, the previous cursor back on destruction, whatever way the
// scope ends. A dialog shown meanwhile takes the normal cursor back through
// an IdleCursor, so the user is never told to wait while asked something.
#pragma once

namespace tesmera {

class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The normal arrow over a modal dialog, under a BusyCursor or not.
class IdleCursor {
  public:
    IdleCursor();
    ~IdleCursor();
    IdleCursor(const IdleCursor&) = delete;
    IdleCursor& operator=(const IdleCursor&) = delete;
};

}  // namespace tesmera
