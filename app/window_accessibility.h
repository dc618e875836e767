// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology is told a window is. A top-level window built
// from a plain widget reports the role "client", which screen readers show
// as a nameless filler; the program's windows are frames named by their
// titles.
#pragma once

namespace tesmera {

// Makes every TForm1 and RecordingWindow report the frame role. Safe to call
// more than once; the first call installs it for the program's lifetime.
void AnnounceWindowsAsFrames();

}  // namespace tesmera
