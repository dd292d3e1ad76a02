// Test tool: a window that keeps the compositor's idle timer stopped, as a
// video player does: an xdg toplevel, drawn (compositors honour the idle
// inhibitors of visible surfaces only), with a zwp_idle_inhibitor_v1 on its
// surface. The compositor of WAYLAND_DISPLAY.
// Usage: idle_inhibitor
// Prints "inhibiting MS" once the window has been shown and the inhibitor
// made (MS: the wall clock in milliseconds since the epoch); SIGUSR1 releases
// the inhibitor and keeps the window ("released MS"); SIGTERM, SIGINT and
// SIGHUP end the tool, and the inhibitor with it. Exits 1 without the
// protocols or when the compositor goes away.
#include "platform/wayland/WlPtr.h"

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <wayland-client.h>

using platform::wayland::WlPtr;

namespace {

constexpr std::uint32_t colour = 0xffcc7733; // an orange that stands out in screenshots

struct Window {
    WlPtr<wl_compositor> compositor;
    WlPtr<wl_shm> shm;
    WlPtr<xdg_wm_base> wmBase;
    WlPtr<zwp_idle_inhibit_manager_v1> inhibitManager;
    WlPtr<wl_surface> surface;
    WlPtr<xdg_surface> xdgSurface;
    WlPtr<xdg_toplevel> toplevel;
    WlPtr<wl_buffer> buffer;
    WlPtr<wl_callback> frame;
    WlPtr<zwp_idle_inhibitor_v1> inhibitor;
    int width = 0, height = 0;
    bool configured = false;
    bool shown = false;
};

template <typename T>
T* bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface)
{
    return static_cast<T*>(wl_registry_bind(registry, name, interface, 1));
}

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto* window = static_cast<Window*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0)
        window->compositor.reset(bind<wl_compositor>(registry, name, &wl_compositor_interface));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        window->shm.reset(bind<wl_shm>(registry, name, &wl_shm_interface));
    else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0)
        window->wmBase.reset(bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface));
    else if (std::strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0)
        window->inhibitManager.reset(
            bind<zwp_idle_inhibit_manager_v1>(registry, name, &zwp_idle_inhibit_manager_v1_interface));
}
void globalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener = {global, globalRemove};

void ping(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener wmBaseListener = {ping};

void surfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial)
{
    auto* window = static_cast<Window*>(data);
    xdg_surface_ack_configure(surface, serial);
    if (window->buffer) // the size stays the first one: a tiling compositor shows it in its tile
        wl_surface_commit(window->surface.get());
    window->configured = true;
}
const xdg_surface_listener surfaceListener = {surfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*)
{
    auto* window = static_cast<Window*>(data);
    window->width = width > 0 ? width : 480;
    window->height = height > 0 ? height : 320;
}
void toplevelClose(void*, xdg_toplevel*) {}
void toplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds,
                                                toplevelCapabilities};

void frameDone(void* data, wl_callback*, std::uint32_t) { static_cast<Window*>(data)->shown = true; }
const wl_callback_listener frameListener = {frameDone};

long long epochMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

/** A buffer of the window's size in one colour; null when shared memory fails. */
wl_buffer* paintedBuffer(const Window& window)
{
    const int stride = window.width * 4, size = stride * window.height;
    const int fd = memfd_create("idle_inhibitor", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) < 0)
        return nullptr;
    void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::fill_n(static_cast<std::uint32_t*>(pixels), size / 4, colour);
    munmap(pixels, size);
    wl_shm_pool* pool = wl_shm_create_pool(window.shm.get(), fd, size);
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, window.width, window.height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

/** Waits for the compositor's events or a signal, dispatching the events; the
 *  signal's number, 0 for events, -1 when the connection fails. */
int wait(wl_display* display, int signals)
{
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0)
            return -1;
    wl_display_flush(display);
    pollfd fds[] = {{wl_display_get_fd(display), POLLIN, 0}, {signals, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
        wl_display_cancel_read(display);
        return errno == EINTR ? 0 : -1;
    }
    if (fds[0].revents == 0)
        wl_display_cancel_read(display);
    else if (wl_display_read_events(display) < 0)
        return -1;
    if (wl_display_dispatch_pending(display) < 0)
        return -1;
    signalfd_siginfo info{};
    if ((fds[1].revents & POLLIN) && read(signals, &info, sizeof info) == sizeof info)
        return int(info.ssi_signo);
    return 0;
}

/** Waits until done holds; false on an ending signal or a failed connection. */
template <typename Done>
bool waitUntil(wl_display* display, int signals, Done done)
{
    while (!done()) {
        const int got = wait(display, signals);
        if (got < 0 || (got > 0 && got != SIGUSR1))
            return false;
    }
    return true;
}

/** Shows the window drawn and inhibits idle on its surface; false when it cannot. */
bool showInhibiting(Window& window, wl_display* display, int signals)
{
    window.surface.reset(wl_compositor_create_surface(window.compositor.get()));
    window.xdgSurface.reset(xdg_wm_base_get_xdg_surface(window.wmBase.get(), window.surface.get()));
    xdg_surface_add_listener(window.xdgSurface.get(), &surfaceListener, &window);
    window.toplevel.reset(xdg_surface_get_toplevel(window.xdgSurface.get()));
    xdg_toplevel_add_listener(window.toplevel.get(), &toplevelListener, &window);
    xdg_toplevel_set_title(window.toplevel.get(), "idle inhibitor");
    wl_surface_commit(window.surface.get());
    if (!waitUntil(display, signals, [&] { return window.configured; }))
        return false;
    window.buffer.reset(paintedBuffer(window));
    if (!window.buffer)
        return false;
    wl_surface_attach(window.surface.get(), window.buffer.get(), 0, 0);
    wl_surface_damage(window.surface.get(), 0, 0, window.width, window.height);
    window.frame.reset(wl_surface_frame(window.surface.get()));
    wl_callback_add_listener(window.frame.get(), &frameListener, &window);
    wl_surface_commit(window.surface.get());
    if (!waitUntil(display, signals, [&] { return window.shown; }))
        return false;
    window.inhibitor.reset(
        zwp_idle_inhibit_manager_v1_create_inhibitor(window.inhibitManager.get(), window.surface.get()));
    return wl_display_roundtrip(display) >= 0;
}

} // namespace

int main()
{
    sigset_t mask;
    sigemptyset(&mask);
    for (int signal : {SIGUSR1, SIGTERM, SIGINT, SIGHUP})
        sigaddset(&mask, signal);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    const int signals = signalfd(-1, &mask, SFD_CLOEXEC);
    WlPtr<wl_display> display(wl_display_connect(nullptr));
    if (!display || signals < 0) {
        std::fprintf(stderr, "idle_inhibitor: no compositor\n");
        return 1;
    }
    Window window;
    WlPtr<wl_registry> registry(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &registryListener, &window);
    wl_display_roundtrip(display.get());
    if (!window.compositor || !window.shm || !window.wmBase || !window.inhibitManager) {
        std::fprintf(stderr, "idle_inhibitor: the compositor lacks xdg_wm_base or zwp_idle_inhibit_manager_v1\n");
        return 1;
    }
    xdg_wm_base_add_listener(window.wmBase.get(), &wmBaseListener, nullptr);
    if (!showInhibiting(window, display.get(), signals)) {
        std::fprintf(stderr, "idle_inhibitor: no window shown, or ended before\n");
        return 1;
    }
    std::printf("inhibiting %lld\n", epochMs());
    std::fflush(stdout);
    int got = 0;
    for (; got == 0 || got == SIGUSR1; got = wait(display.get(), signals)) {
        if (got == SIGUSR1 && window.inhibitor) {
            window.inhibitor.reset();
            wl_display_roundtrip(display.get());
            std::printf("released %lld\n", epochMs());
            std::fflush(stdout);
        }
    }
    return got < 0 ? 1 : 0;
}
