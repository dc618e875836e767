// SPDX-License-Identifier: GPL-3.0-or-later
// One window per desktop session: a start of the window program either
// hands its files to the window that runs already or becomes that window.
#pragma once

#include "app/SessionLink.h"
#include "app/window_command_line.h"

namespace tesmera {

class TForm1;

// Hands the line's files to the session's running window, unless
// --new-window asks for a window of its own. True when the running window
// took them and this start has nothing more to do.
bool HandToRunningWindow(const WindowCommandLine& line, SessionLink& session);

// Opens the line's files in `form`, and makes it the session's window
// (unless --new-window): files handed over later open in it in the same
// way. `form` must outlive the session's serving.
void StartSessionWindow(TForm1& form, const WindowCommandLine& line, SessionLink& session);

}  // namespace tesmera
