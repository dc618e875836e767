// SPDX-License-Identifier: GPL-3.0-or-later
// The link between the starts of the window program in one desktop session:
// a start with files hands them to the window that already runs, which
// opens them, instead of showing a second window. The window talks only to
// this interface, so tests can script the other side.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tesmera {

class SessionLink {
  public:
    // Gets the files another start handed over, as native names (bytes as
    // the system spells them, absolute), on the window's event loop.
    using Receiver = std::function<void(const std::vector<std::string>& files)>;

    virtual ~SessionLink() = default;

    // Hands `files` (native names as this process was given them, relative
    // to its working folder; possibly none) to the session's running window.
    // True when that window took them; false when none runs or it did not
    // answer, and this start opens a window of its own.
    virtual bool HandOver(const std::vector<std::string>& files) = 0;
    // Makes this process the session's window, whose later hand-overs go to
    // `receive`, unless another window answers for the session already.
    virtual void Serve(Receiver receive) = 0;
};

}  // namespace tesmera
