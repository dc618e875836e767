// SPDX-License-Identifier: GPL-3.0-or-later
// The state of one mouse drag (the zoom rectangle or the scroll), in pixels of
// the control.
#pragma once

namespace tesmera {

struct TZoomPanningRecord {
    bool dragActive = false;
    // Where the button went down.
    int anchorX = 0;
    int anchorY = 0;
    // The latest mouse position of the drag; for the zoom, the rectangle's
    // moving corner.
    int lastX = 0;
    int lastY = 0;

    // Starts a drag with its anchor and last position at (x, y).
    void Activate(int x, int y) { *this = {true, x, y, x, y}; }
    bool IsLastAt(int x, int y) const { return x == lastX && y == lastY; }
};

}  // namespace tesmera
