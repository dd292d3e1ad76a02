#pragma once
// Ownership of Wayland objects: a std::unique_ptr whose deleter calls the
// right destroy function for each kind of object, as its version allows.

#include <memory>

struct ext_idle_notification_v1;
struct ext_idle_notifier_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;
struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct ext_image_capture_source_v1;
struct ext_image_copy_capture_frame_v1;
struct ext_image_copy_capture_manager_v1;
struct ext_image_copy_capture_session_v1;
struct ext_output_image_capture_source_manager_v1;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_region;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_shm_pool;
struct wl_surface;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct zwlr_screencopy_frame_v1;
struct zwlr_screencopy_manager_v1;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;
struct zwp_idle_inhibit_manager_v1;
struct zwp_idle_inhibitor_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace platform::wayland {

// One per kind of object (WlPtr.cpp). The scanner's own destroy functions are
// static, so a type naming them would differ from one file to the next.
void destroyObject(ext_idle_notification_v1* object);
void destroyObject(ext_idle_notifier_v1* object);
void destroyObject(org_kde_kwin_idle* object); // forgets: no destructor request
void destroyObject(org_kde_kwin_idle_timeout* object);
void destroyObject(wl_buffer* object);
void destroyObject(wl_callback* object);
void destroyObject(wl_compositor* object);
void destroyObject(wl_display* object); // disconnects
void destroyObject(ext_image_capture_source_v1* object);
void destroyObject(ext_image_copy_capture_frame_v1* object);
void destroyObject(ext_image_copy_capture_manager_v1* object);
void destroyObject(ext_image_copy_capture_session_v1* object);
void destroyObject(ext_output_image_capture_source_manager_v1* object);
void destroyObject(wl_keyboard* object);
void destroyObject(wl_output* object);
void destroyObject(wl_pointer* object);
void destroyObject(wl_region* object);
void destroyObject(wl_registry* object);
void destroyObject(wl_seat* object);
void destroyObject(wl_shm* object);
void destroyObject(wl_shm_pool* object);
void destroyObject(wl_surface* object);
void destroyObject(xdg_surface* object);
void destroyObject(xdg_toplevel* object);
void destroyObject(xdg_wm_base* object);
void destroyObject(zwlr_layer_shell_v1* object);
void destroyObject(zwlr_layer_surface_v1* object);
void destroyObject(zwlr_screencopy_frame_v1* object);
void destroyObject(zwlr_screencopy_manager_v1* object);
void destroyObject(zwlr_virtual_pointer_manager_v1* object);
void destroyObject(zwlr_virtual_pointer_v1* object);
void destroyObject(zwp_idle_inhibit_manager_v1* object);
void destroyObject(zwp_idle_inhibitor_v1* object);
void destroyObject(zxdg_output_manager_v1* object);
void destroyObject(zxdg_output_v1* object);

/** Calls the destroy function of a non-null object's kind. */
struct WlDeleter {
    template <typename T>
    void operator()(T* object) const { destroyObject(object); }
};

/** A Wayland object owned with its destroy function, e.g. WlPtr<wl_surface>. */
template <typename T>
using WlPtr = std::unique_ptr<T, WlDeleter>;

} // namespace platform::wayland
