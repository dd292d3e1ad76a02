// Test tool: looks at the keyboard, the pointer and the cursor from another
// client's point of view.
//   input_probe grab     tries to grab the keyboard and the pointer on the
//                        root; prints both statuses; exit 0 when both succeed
//   input_probe cursor   prints the number of opaque pixels of the cursor
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int grab(Display* display)
{
    const Window root = DefaultRootWindow(display);
    const int keyboard = XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    const int pointer = XGrabPointer(display, root, False, ButtonPressMask, GrabModeAsync,
                                     GrabModeAsync, None, None, CurrentTime);
    std::printf("keyboard=%d pointer=%d\n", keyboard, pointer);
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XSync(display, False);
    return keyboard == GrabSuccess && pointer == GrabSuccess ? 0 : 1;
}

int cursor(Display* display)
{
    const std::unique_ptr<XFixesCursorImage, int (*)(void*)> image(XFixesGetCursorImage(display),
                                                                    XFree);
    if (!image)
        return 1;
    int opaque = 0;
    for (int i = 0; i < image->width * image->height; ++i)
        opaque += (image->pixels[i] >> 24) != 0;
    std::printf("opaque=%d\n", opaque);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display || argc != 2) {
        std::fprintf(stderr, "usage: input_probe grab|cursor (with a reachable DISPLAY)\n");
        return 2;
    }
    if (std::strcmp(argv[1], "grab") == 0)
        return grab(display.get());
    if (std::strcmp(argv[1], "cursor") == 0)
        return cursor(display.get());
    return 2;
}
