// Test tool: a pointer device on the Wayland compositor of WAYLAND_DISPLAY
// (wlr-virtual-pointer), so that its seat has a pointer while this runs.
// Usage: wayland_pointer HOLD_MS ACTION...
//   move DX DY       moves by a distance
//   to X Y W H       moves to X,Y of a W x H layout
//   click            presses and releases the left button
//   wait MS          waits
// The actions run in order once the compositor has made the device; then the
// tool prints "acted MS" (the wall clock in milliseconds since the epoch, as
// the last action goes out) and the device stays for HOLD_MS milliseconds.
// Exits 1 without the protocol.
#include "platform/wayland/WlPtr.h"

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <wayland-client.h>

using platform::wayland::WlPtr;

namespace {

constexpr std::uint32_t leftButton = 0x110; // BTN_LEFT

struct Globals {
    WlPtr<zwlr_virtual_pointer_manager_v1> manager;
};

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        static_cast<Globals*>(data)->manager.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1)));
}
void globalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener = {global, globalRemove};

std::uint32_t nowMs()
{
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

long long epochMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void pause(long ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

/** Runs the actions from argv[first]; false on a word it does not know. */
bool act(zwlr_virtual_pointer_v1* pointer, int argc, char** argv, int first)
{
    auto number = [&](int i) { return i < argc ? std::atol(argv[i]) : 0; };
    for (int i = first; i < argc; ++i) {
        const std::string action = argv[i];
        if (action == "move") {
            zwlr_virtual_pointer_v1_motion(pointer, nowMs(), wl_fixed_from_int(number(i + 1)),
                                           wl_fixed_from_int(number(i + 2)));
            i += 2;
        } else if (action == "to") {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), number(i + 1), number(i + 2), number(i + 3),
                                                    number(i + 4));
            i += 4;
        } else if (action == "click") {
            zwlr_virtual_pointer_v1_button(pointer, nowMs(), leftButton, WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, nowMs(), leftButton, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (action == "wait") {
            pause(number(++i));
            continue;
        } else {
            return false;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: wayland_pointer HOLD_MS [move DX DY|to X Y W H|click|wait MS]...\n");
        return 2;
    }
    WlPtr<wl_display> display(wl_display_connect(nullptr));
    if (!display) {
        std::fprintf(stderr, "wayland_pointer: no compositor\n");
        return 1;
    }
    Globals globals;
    WlPtr<wl_registry> registry(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &registryListener, &globals);
    wl_display_roundtrip(display.get());
    if (!globals.manager) {
        std::fprintf(stderr, "wayland_pointer: no zwlr_virtual_pointer_manager_v1\n");
        return 1;
    }
    WlPtr<zwlr_virtual_pointer_v1> pointer(
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager.get(), nullptr));
    wl_display_roundtrip(display.get());
    if (!act(pointer.get(), argc, argv, 2)) {
        std::fprintf(stderr, "wayland_pointer: unknown action\n");
        return 2;
    }
    const long long acted = epochMs(); // the requests go out with this round trip
    wl_display_roundtrip(display.get());
    std::printf("acted %lld\n", acted);
    std::fflush(stdout);
    pause(std::atol(argv[1]));
    return 0;
}
