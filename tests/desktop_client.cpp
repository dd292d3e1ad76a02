// Test tool: stands in for the other clients on a desktop.
//   desktop_client panel RRGGBB RRGGBB   a dock window across the top with
//       _NET_WM_STATE_ABOVE, as a taskbar has; in the first colour, and in
//       the second from SIGUSR1 on
//   desktop_client popup RRGGBB X Y W H [raise|circulate]  an override-redirect
//       window, as a notification is (or a screen-saver host's); prints "id ID"
//       after "mapped"; with raise or circulate, on each SIGUSR1 it comes to the
//       top again by itself, as a popup that wants to be seen does: raised, or
//       by circulating the root's children (the lowest covered one comes up);
//       prints "raised" then
//   desktop_client hold-keyboard MS      grabs the keyboard on the root and
//       lets go after MS milliseconds, giving the focus to the root first, as
//       a menu closing gives it back; prints "held" once it holds it
//   desktop_client screenshot WINDOW     copies the screen into a pixmap and
//       stores it in WINDOW's _SCREENSAVER_SCREENSHOT, as XScreenSaver does
//       for its hacks; prints "stored"
//   desktop_client pixel X Y             prints the screen's colour at X,Y
//       as rrggbb, read in one request (a whole-screen capture takes long)
// The windows print "mapped" once they are on screen and run until killed.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t recolour = 0;
volatile std::sig_atomic_t reraise = 0;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void setAtoms(xcb_connection_t* c, xcb_window_t window, const char* property, const char* value)
{
    const xcb_atom_t item = atom(c, value);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, property), XCB_ATOM_ATOM, 32, 1,
                        &item);
}

std::uint32_t colour(const char* hex) { return std::uint32_t(std::strtoul(hex, nullptr, 16)); }

xcb_window_t makeWindow(xcb_connection_t* c, const xcb_screen_t* screen, std::uint32_t background,
                        bool overrideRedirect, int x, int y, int width, int height)
{
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {background, overrideRedirect ? 1u : 0u};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, std::int16_t(x),
                      std::int16_t(y), std::uint16_t(width), std::uint16_t(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    return window;
}

void mapAndSay(xcb_connection_t* c, xcb_window_t window)
{
    xcb_map_window(c, window);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    std::printf("mapped\n");
    std::fflush(stdout);
}

int panel(xcb_connection_t* c, const xcb_screen_t* screen, const char* first, const char* second)
{
    const xcb_window_t window =
        makeWindow(c, screen, colour(first), false, 0, 0, screen->width_in_pixels, 40);
    setAtoms(c, window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DOCK");
    setAtoms(c, window, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE");
    std::signal(SIGUSR1, [](int) { recolour = 1; });
    mapAndSay(c, window);
    for (;;) {
        if (recolour) {
            recolour = 0;
            const std::uint32_t background = colour(second);
            xcb_change_window_attributes(c, window, XCB_CW_BACK_PIXEL, &background);
            xcb_clear_area(c, 0, window, 0, 0, 0, 0);
            // Raised too, as a panel does that shows something new.
            const std::uint32_t above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
            std::printf("recoloured\n");
            std::fflush(stdout);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

/** Brings window to the top: raised itself, or as the lowest covered child of the root. */
void comeUp(xcb_connection_t* c, const xcb_screen_t* screen, xcb_window_t window, const std::string& how)
{
    if (how == "circulate") {
        xcb_circulate_window(c, XCB_CIRCULATE_RAISE_LOWEST, screen->root);
    } else {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    }
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    std::printf("raised\n");
    std::fflush(stdout);
}

/** argv: colour, x, y, width, height; how: "", "raise" or "circulate". */
int popup(xcb_connection_t* c, const xcb_screen_t* screen, char** argv, const std::string& how)
{
    const xcb_window_t window = makeWindow(c, screen, colour(argv[0]), true, std::atoi(argv[1]),
                                           std::atoi(argv[2]), std::atoi(argv[3]),
                                           std::atoi(argv[4]));
    if (!how.empty())
        std::signal(SIGUSR1, [](int) { reraise = 1; });
    mapAndSay(c, window);
    std::printf("id %u\n", window);
    std::fflush(stdout);
    for (;;) {
        if (reraise) {
            reraise = 0;
            comeUp(c, screen, window, how);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int holdKeyboard(xcb_connection_t* c, const xcb_screen_t* screen, int ms)
{
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(
        c, xcb_grab_keyboard(c, 0, screen->root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                             XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool held = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    if (!held)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, screen->root, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    std::printf("released\n");
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

int storeScreenshot(xcb_connection_t* c, const xcb_screen_t* screen, xcb_window_t window)
{
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, screen->width_in_pixels,
                      screen->height_in_pixels);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    const std::uint32_t includeInferiors = XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS;
    xcb_create_gc(c, gc, pixmap, XCB_GC_SUBWINDOW_MODE, &includeInferiors);
    xcb_copy_area(c, screen->root, pixmap, gc, 0, 0, 0, 0, screen->width_in_pixels,
                  screen->height_in_pixels);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, "_SCREENSAVER_SCREENSHOT"),
                        XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    std::printf("stored\n");
    std::fflush(stdout);
    // The pixmap lives as long as this connection.
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

int pixel(xcb_connection_t* c, const xcb_screen_t* screen, int x, int y)
{
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, std::int16_t(x), std::int16_t(y),
                         1, 1, ~0u),
        nullptr);
    if (!reply || xcb_get_image_data_length(reply) < 4) {
        std::free(reply);
        return 1;
    }
    std::uint32_t value = 0;
    std::memcpy(&value, xcb_get_image_data(reply), 4);
    std::free(reply);
    std::printf("%06x\n", value & 0xffffffu);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "panel" && argc == 4)
        return panel(c, screen, argv[2], argv[3]);
    const std::string how = argc == 8 ? argv[7] : "";
    if (mode == "popup" && (argc == 7 || how == "raise" || how == "circulate"))
        return popup(c, screen, argv + 2, how);
    if (mode == "screenshot" && argc == 3)
        return storeScreenshot(c, screen, xcb_window_t(std::strtoul(argv[2], nullptr, 0)));
    if (mode == "pixel" && argc == 4)
        return pixel(c, screen, std::atoi(argv[2]), std::atoi(argv[3]));
    if (mode == "hold-keyboard" && argc == 3)
        return holdKeyboard(c, screen, std::atoi(argv[2]));
    std::fprintf(stderr, "usage: desktop_client panel|popup|hold-keyboard|screenshot|pixel ...\n");
    return 2;
}
