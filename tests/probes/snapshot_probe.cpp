// Test tool: takes the display device context as the saver does, or the
// screen copy by one method only, and writes it as PNG. Prints
// "ms=<duration> size=<w>x<h> format=<0|1>"; exits 1 when there
// is no copy. "prepared" asks for the copy first, then maps a white window at
// the top left, then takes the device context: the copy must not show it.
// Usage: snapshot_probe OUT.png [shm|socket|qt|prepared]
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/XConnection.h"
#include "tests/probes/ProbePlatform.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::unique_ptr<QImage> grabBy(const std::string& method)
{
    using platform::x11::GrabMethod;
    const GrabMethod chosen = method == "shm"    ? GrabMethod::SharedMemory
                            : method == "socket" ? GrabMethod::Socket
                                                 : GrabMethod::Qt;
    QImage image = platform::x11::grabRootWindow(chosen);
    return image.isNull() ? nullptr : std::make_unique<QImage>(std::move(image));
}

/** Maps a white override-redirect window over the top left of the screen. */
void coverTopLeft()
{
    xcb_connection_t* c = platform::x11::xcbConnection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, 1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 200, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c, window);
    platform::x11::flushX();
}

std::unique_ptr<QImage> takeCopy(platform::Platform& platform, int argc, char** argv)
{
    if (argc == 2)
        return platform.CreateDCA("DISPLAY");
    if (std::string(argv[2]) != "prepared")
        return grabBy(argv[2]);
    platform.prepareScreenCopy();
    coverTopLeft();
    return platform.CreateDCA("DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: snapshot_probe OUT.png [shm|socket|qt|prepared]\n");
        return 2;
    }
    const std::unique_ptr<platform::Platform> opened = openProbePlatform(argc, argv);
    if (!opened)
        return 2;
    platform::Platform& platform = *opened;
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<platform::DeviceContext> display = takeCopy(platform, argc, argv);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (!display)
        return 1;
    std::printf("ms=%.1f size=%dx%d format=%d\n",
                std::chrono::duration<double, std::milli>(elapsed).count(), display->width(),
                display->height(), display->format() == QImage::Format_RGB32 ? 1 : 0);
    const bool saved = display->save(QString::fromLocal8Bit(argv[1]));
    platform.DeleteDC(std::move(display));
    return saved ? 0 : 2;
}
