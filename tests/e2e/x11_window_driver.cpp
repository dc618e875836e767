// Drives a top-level window of a real program on an X display, the way a
// user's window manager would: wait for it by caption, then ask it to close.
//
//   x11_window_driver wait  "<caption>" <seconds>   exit 0 once the window is mapped
//   x11_window_driver close "<caption>"             send WM_DELETE_WINDOW
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>

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
    std::fprintf(stderr, "usage: %s wait <caption> <seconds> | close <caption>\n", argv[0]);
    return 2;
}
