// SPDX-License-Identifier: GPL-3.0-or-later
// What the chart learns from the mouse: which button changed, which keys and
// buttons were held, and which way the wheel turned. The control translates
// the platform's events into these.
#pragma once

namespace tesmera {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier keys and mouse buttons held during a mouse event, added together;
// ssDouble marks the press of a double click.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;

// True when every key of `keys` is held in `state` (also when `keys` is empty).
constexpr bool HoldsAll(TShiftState state, TShiftState keys) {
    return (state & keys) == keys;
}

// One notch of the wheel: Down is towards the user.
enum class TWheelTurn { Down, Up };

// The buttons and keys that start the mouse drags, for every chart.
constexpr TMouseButton ZoomButton = mbLeft;
constexpr TMouseButton PanButton = mbRight;
constexpr TShiftState ZoomShiftKeys = 0;
constexpr TShiftState PanShiftKeys = 0;
// Each step of an animated zoom covers a third of the way still left.
constexpr double AnimatedZoomFactor = 3.0;

}  // namespace tesmera
