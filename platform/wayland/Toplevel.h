#pragma once
// The xdg toplevel role of a surface, for the saver's full-screen surfaces
// where there is no layer shell and for the program's own window: the size
// the compositor asks for, its configures to ack, and the user's close.

#include "platform/wayland/WlPtr.h"

#include <QSize>
#include <cstdint>
#include <functional>

namespace platform::wayland {

class Toplevel {
public:
    /** Gives surface the role, titled title; the surface must outlive it. */
    Toplevel(xdg_wm_base* base, wl_surface* surface, const char* title);
    Toplevel(const Toplevel&) = delete;
    Toplevel& operator=(const Toplevel&) = delete;

    xdg_toplevel* handle() const { return toplevel_.get(); }
    /** The size of the last configure; empty where the compositor leaves it to us. */
    QSize askedSize() const { return askedSize_; }
    /** Acks a configure, for the next commit. */
    void ack(std::uint32_t serial);

    /** Runs at each complete configure: the size first, then this. */
    std::function<void(std::uint32_t serial)> configured;
    /** Runs when the user asks the compositor to close the window. */
    std::function<void()> closed;

    void onSize(std::int32_t width, std::int32_t height) { askedSize_ = QSize(width, height); }
    void onConfigure(std::uint32_t serial);
    void onClose();

private:
    WlPtr<xdg_surface> xdgSurface_;
    WlPtr<xdg_toplevel> toplevel_; // goes before its xdg surface
    QSize askedSize_;
};

} // namespace platform::wayland
