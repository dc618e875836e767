// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the window's commands one at a time, each only after the event that
// asked for it has returned. A click, a shortcut or an assistive tool's
// "press" therefore comes back at once, even when the command then waits in a
// modal dialog.
#pragma once

#include <functional>

#include <QObject>

namespace tesmera {

class CommandQueue : public QObject {
    Q_OBJECT
  public:
    explicit CommandQueue(QObject* parent = nullptr) : QObject(parent) {}

    // Schedules `command` for the next turn of the event loop. A request made
    // while another command waits or runs is dropped: a modal dialog spins
    // the event loop, and a command started inside another would interleave
    // their steps on the one shared record. Returns whether it was taken.
    bool Request(std::function<void()> command);

    // True from a taken request until its command has returned.
    bool Busy() const { return pending_ || running_; }

  private:
    bool pending_ = false;
    bool running_ = false;
};

}  // namespace tesmera
