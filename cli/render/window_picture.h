// The picture of a voice file as the window shows it after its load and
// compute commands: the oscilloscope strip and the amplitude chart.
#pragma once

#include <string>
#include <vector>

#include <QImage>

namespace tesmera {

struct WindowPicture {
    // The window's area from the oscilloscope's top-left corner to the
    // chart's bottom-right one, both controls and the strip between them.
    QImage Image;
    // Every warning and error text the window showed, in order.
    std::vector<std::string> Messages;
};

// Creates the real window (offscreen when the platform is), answers its
// open dialog with `voiceFile`, runs load then compute, and grabs the
// controls. Requires a QApplication.
WindowPicture RenderWindowPicture(const std::string& voiceFile);

}  // namespace tesmera
