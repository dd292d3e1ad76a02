// Measuring tool: starts a program and reports how long it takes until the
// screen shows its first frame, taken as the moment when five sample points
// spread over the screen (centre, and inset from each corner) have all turned
// black. Meant for the saver with "Blank Screen" on over a desktop that is not
// black there. The points are read only once a top-level window has been
// mapped, so that the reading does not load the X server while it starts. Prints "ms=<milliseconds> pid=<program's pid>" and leaves the
// program running; exits 1 if the frame does not come within 10 s.
// Usage: first_frame_probe PROGRAM [ARGUMENTS...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

std::uint32_t pixelAt(xcb_connection_t* c, xcb_window_t root, int x, int y)
{
    xcb_generic_error_t* error = nullptr;
    const std::unique_ptr<xcb_get_image_reply_t, void (*)(void*)> reply(
        xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(x),
                                             std::int16_t(y), 1, 1, ~0u),
                            &error),
        std::free);
    std::free(error);
    if (!reply || xcb_get_image_data_length(reply.get()) < 4)
        return 0xffffffu;
    return *reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply.get())) & 0xffffffu;
}

bool samplesAreBlack(xcb_connection_t* c, const xcb_screen_t* screen)
{
    const int w = screen->width_in_pixels, h = screen->height_in_pixels;
    const int points[5][2] = {{w / 2, h / 2}, {w - 20, 20}, {20, h - 20}, {w - 20, h - 20}, {w / 2, 20}};
    for (const auto& p : points)
        if (pixelAt(c, screen->root, p[0], p[1]) != 0)
            return false;
    return true;
}

/** Waits until a child of the root is mapped; false at the deadline. */
template <typename Clock>
bool waitForMap(xcb_connection_t* c, typename Clock::time_point deadline)
{
    pollfd events{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || poll(&events, 1, int(left.count()) + 1) < 0)
            return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame_probe PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
    if (samplesAreBlack(connection.get(), screen)) {
        std::fprintf(stderr, "first_frame_probe: the desktop is black already\n");
        return 2;
    }
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection.get());
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // The program must not hold the pipe of whoever reads this tool's output.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[1], argv + 1);
        _exit(127);
    }
    const auto deadline = start + std::chrono::seconds(10);
    if (!waitForMap<std::chrono::steady_clock>(connection.get(), deadline))
        return 1;
    while (!samplesAreBlack(connection.get(), screen)) {
        if (std::chrono::steady_clock::now() > deadline)
            return 1;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("ms=%.1f pid=%d\n", std::chrono::duration<double, std::milli>(elapsed).count(), int(child));
    return 0;
}
