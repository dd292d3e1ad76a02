#include "platform/wayland/Toplevel.h"

#include "xdg-shell-client-protocol.h"

namespace platform::wayland {

namespace {

Toplevel& self(void* data) { return *static_cast<Toplevel*>(data); }

// A toplevel's size comes first, then the surface's configure that completes it.
void surfaceConfigure(void* data, xdg_surface*, std::uint32_t serial) { self(data).onConfigure(serial); }
const xdg_surface_listener surfaceListener = {surfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*)
{
    self(data).onSize(width, height);
}
void toplevelClose(void* data, xdg_toplevel*) { self(data).onClose(); }
void toplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds,
                                                toplevelCapabilities};

} // namespace

Toplevel::Toplevel(xdg_wm_base* base, wl_surface* surface, const char* title)
    : xdgSurface_(xdg_wm_base_get_xdg_surface(base, surface)),
      toplevel_(xdg_surface_get_toplevel(xdgSurface_.get()))
{
    xdg_surface_add_listener(xdgSurface_.get(), &surfaceListener, this);
    xdg_toplevel_add_listener(toplevel_.get(), &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_.get(), title);
    xdg_toplevel_set_app_id(toplevel_.get(), "lilywade");
}

void Toplevel::ack(std::uint32_t serial)
{
    xdg_surface_ack_configure(xdgSurface_.get(), serial);
}

void Toplevel::onConfigure(std::uint32_t serial)
{
    if (configured)
        configured(serial);
}

void Toplevel::onClose()
{
    if (closed)
        closed();
}

} // namespace platform::wayland
