// SPDX-License-Identifier: GPL-3.0-or-later
// Application-wide cursors as scopes: the shape is shown on construction and
// the previous cursor comes back on destruction, whatever way the scope ends.
// Overrides stack, so an IdleCursor inside a BusyCursor shows the arrow and
// then the busy cursor again.
#pragma once

#include <Qt>

namespace tesmera {

class OverrideCursor {
  public:
    explicit OverrideCursor(Qt::CursorShape shape);
    ~OverrideCursor();
    // Neither copied nor moved (which also deletes copying): each cursor
    // shown is taken back exactly once.
    OverrideCursor(OverrideCursor&&) = delete;
};

// The busy cursor while a command works.
class BusyCursor : public OverrideCursor {
  public:
    BusyCursor() : OverrideCursor(Qt::WaitCursor) {}
};

// The arrow with a busy sign while work goes on behind a window that still
// answers.
class WorkingCursor : public OverrideCursor {
  public:
    WorkingCursor() : OverrideCursor(Qt::BusyCursor) {}
};

// The normal arrow over a modal dialog, so that the user is never told to
// wait while asked something.
class IdleCursor : public OverrideCursor {
  public:
    IdleCursor() : OverrideCursor(Qt::ArrowCursor) {}
};

}  // namespace tesmera
