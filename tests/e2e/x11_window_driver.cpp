// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a top-level window of a real program on an X display, the way a
// user and a window manager would: wait for it by caption, type keys into
// it, look at its pixels, then ask it to close.
//
//   x11_window_driver wait  "<caption>" <seconds>   exit 0 once the window is mapped
//   x11_window_driver close "<caption>"             send WM_DELETE_WINDOW
//   x11_window_driver keys  "<caption>" <chord>...  raise and focus it, then type each
//                                                   chord ("alt+a", "F9", "ctrl+Return")
//   x11_window_driver dark  "<caption>" x y w h     print how many pixels of that part
//                                                   of the window are dark (text, lines)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

std::string WindowCaption(Display* display, Window window) {
    XTextProperty property;
    if (XGetWMName(display, window, &property) == 0 || property.value == nullptr) {
        return {};
    }
    std::string caption(reinterpret_cast<const char*>(property.value), property.nitems);
    XFree(property.value);
    return caption;
}

std::optional<Window> FindWindow(Display* display, Window root, const std::string& caption) {
    Window parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (WindowCaption(display, children[i]) == caption &&
            XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            found = children[i];
        } else {
            found = FindWindow(display, children[i], caption);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

int Wait(Display* display, const std::string& caption, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto window = FindWindow(display, DefaultRootWindow(display), caption)) {
            std::printf("0x%lx\n", *window);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fprintf(stderr, "no window captioned \"%s\" within %d s\n", caption.c_str(), seconds);
    return 1;
}

int Close(Display* display, const std::string& caption) {
    const auto window = FindWindow(display, DefaultRootWindow(display), caption);
    if (!window) {
        std::fprintf(stderr, "no window captioned \"%s\"\n", caption.c_str());
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = *window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, *window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

// Presses the keys of one chord in order and releases them in reverse, as
// fingers do. Returns false for a key name X does not know.
bool TypeChord(Display* display, const std::string& chord) {
    std::vector<KeyCode> codes;
    std::istringstream parts(chord);
    std::string part;
    while (std::getline(parts, part, '+')) {
        const std::string name = part == "ctrl"    ? "Control_L"
                                 : part == "alt"   ? "Alt_L"
                                 : part == "shift" ? "Shift_L"
                                                   : part;
        const KeySym symbol = XStringToKeysym(name.c_str());
        const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
        if (code == 0) {
            std::fprintf(stderr, "unknown key \"%s\"\n", part.c_str());
            return false;
        }
        codes.push_back(code);
    }
    for (const KeyCode code : codes) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
    }
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        XTestFakeKeyEvent(display, *code, False, CurrentTime);
    }
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return true;
}

int Keys(Display* display, const std::string& caption, const std::vector<std::string>& chords) {
    const auto window = FindWindow(display, DefaultRootWindow(display), caption);
    if (!window) {
        std::fprintf(stderr, "no window captioned \"%s\"\n", caption.c_str());
        return 1;
    }
    // Without a window manager nobody else hands out the focus.
    XRaiseWindow(display, *window);
    XSetInputFocus(display, *window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (const std::string& chord : chords) {
        if (!TypeChord(display, chord)) {
            return 2;
        }
    }
    return 0;
}

// Dark: each of red, green and blue below 96, as text and lines are drawn.
int CountDark(Display* display, const std::string& caption, int x, int y, unsigned width,
              unsigned height) {
    const auto window = FindWindow(display, DefaultRootWindow(display), caption);
    if (!window) {
        std::fprintf(stderr, "no window captioned \"%s\"\n", caption.c_str());
        return 1;
    }
    XImage* image = XGetImage(display, *window, x, y, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "cannot read the pixels of \"%s\"\n", caption.c_str());
        return 1;
    }
    long dark = 0;
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column) {
            const unsigned long pixel =
                XGetPixel(image, static_cast<int>(column), static_cast<int>(row));
            const auto channel = [&](unsigned long mask) {
                unsigned long value = pixel & mask;
                while (mask != 0 && (mask & 1) == 0) {
                    mask >>= 1;
                    value >>= 1;
                }
                return value;
            };
            dark += channel(image->red_mask) < 96 && channel(image->green_mask) < 96 &&
                    channel(image->blue_mask) < 96;
        }
    }
    XDestroyImage(image);
    std::printf("%ld\n", dark);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 2 ? argv[1] : "";
    const DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    if (command == "wait" && argc == 4) {
        return Wait(display.get(), argv[2], std::atoi(argv[3]));
    }
    if (command == "close" && argc == 3) {
        return Close(display.get(), argv[2]);
    }
    if (command == "keys" && argc >= 4) {
        return Keys(display.get(), argv[2], std::vector<std::string>(argv + 3, argv + argc));
    }
    if (command == "dark" && argc == 7) {
        return CountDark(display.get(), argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                         static_cast<unsigned>(std::atoi(argv[5])),
                         static_cast<unsigned>(std::atoi(argv[6])));
    }
    std::fprintf(stderr,
                 "usage: %s wait <caption> <seconds> | close <caption> | keys <caption> "
                 "<chord>... | dark <caption> <x> <y> <w> <h>\n",
                 argv[0]);
    return 2;
}
