// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel art of the window: the two tool-bar glyphs and the window icon,
// drawn in code so the program ships no image files.
#pragma once

#include <QIcon>
#include <QImage>

namespace tesmera {

// 19 x 19: a yellow open folder with a curved arrow.
QImage LoadGlyph();
// 16 x 16 each: a grey pocket calculator, and its greyed outline for the
// disabled state.
QImage ComputeGlyph();
QImage DisabledGlyph(const QImage& glyph);
// 16 x 16: a navy waveform, the button that opens a recording.
QImage RecordingGlyph();
// 32 x 32: a white square in a grey frame with red and blue vertical bars.
QImage WindowIconImage();

}  // namespace tesmera
