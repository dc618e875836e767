// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a voice file as the window shows it after its load and
// compute commands: the oscilloscope strip and the amplitude chart.
#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QImage>

namespace tesmera {

struct WindowPicture {
    // The window's area from the oscilloscope's top-left corner to the
    // chart's bottom-right one, both controls and the strip between them.
    QImage Image;
    // Every warning and error text the window showed, in order.
    std::vector<std::string> Messages;
    // The load command accepted the file; without it the picture shows no
    // voice file at all.
    bool Loaded = false;
};

// The image as PNG bytes; empty when it cannot be encoded.
QByteArray PngBytes(const QImage& image);

// Creates the real window (offscreen when the platform is), answers its
// open dialog with `voiceFile`, runs load then compute, and grabs the
// controls. Requires a QApplication.
WindowPicture RenderWindowPicture(const std::string& voiceFile);

}  // namespace tesmera
