#include "platform/wayland/WlPtr.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "ext-image-capture-source-v1-client-protocol.h"
#include "ext-image-copy-capture-v1-client-protocol.h"
#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

namespace platform::wayland {

namespace {

/** Forgets the object here without a request: for objects whose version has no destructor request. */
template <typename T>
void forget(T* object) { wl_proxy_destroy(reinterpret_cast<wl_proxy*>(object)); }

} // namespace

void destroyObject(ext_idle_notification_v1* object) { ext_idle_notification_v1_destroy(object); }
void destroyObject(ext_idle_notifier_v1* object) { ext_idle_notifier_v1_destroy(object); }
void destroyObject(org_kde_kwin_idle* object) { forget(object); }
void destroyObject(org_kde_kwin_idle_timeout* object) { org_kde_kwin_idle_timeout_release(object); }
void destroyObject(wl_buffer* object) { wl_buffer_destroy(object); }
void destroyObject(wl_callback* object) { wl_callback_destroy(object); }
void destroyObject(wl_compositor* object) { wl_compositor_destroy(object); }
void destroyObject(wl_display* object) { wl_display_disconnect(object); }
void destroyObject(ext_image_capture_source_v1* object) { ext_image_capture_source_v1_destroy(object); }
void destroyObject(ext_image_copy_capture_frame_v1* object) { ext_image_copy_capture_frame_v1_destroy(object); }
void destroyObject(ext_image_copy_capture_manager_v1* object) { ext_image_copy_capture_manager_v1_destroy(object); }
void destroyObject(ext_image_copy_capture_session_v1* object) { ext_image_copy_capture_session_v1_destroy(object); }
void destroyObject(ext_output_image_capture_source_manager_v1* object)
{
    ext_output_image_capture_source_manager_v1_destroy(object);
}
void destroyObject(wl_region* object) { wl_region_destroy(object); }
void destroyObject(wl_registry* object) { wl_registry_destroy(object); }
void destroyObject(wl_shm* object) { wl_shm_destroy(object); }
void destroyObject(wl_shm_pool* object) { wl_shm_pool_destroy(object); }
void destroyObject(wl_surface* object) { wl_surface_destroy(object); }
void destroyObject(xdg_surface* object) { xdg_surface_destroy(object); }
void destroyObject(xdg_toplevel* object) { xdg_toplevel_destroy(object); }
void destroyObject(xdg_wm_base* object) { xdg_wm_base_destroy(object); }
void destroyObject(zwlr_layer_surface_v1* object) { zwlr_layer_surface_v1_destroy(object); }
void destroyObject(zwlr_screencopy_frame_v1* object) { zwlr_screencopy_frame_v1_destroy(object); }
void destroyObject(zwlr_screencopy_manager_v1* object) { zwlr_screencopy_manager_v1_destroy(object); }
void destroyObject(zwlr_virtual_pointer_manager_v1* object) { zwlr_virtual_pointer_manager_v1_destroy(object); }
void destroyObject(zwlr_virtual_pointer_v1* object) { zwlr_virtual_pointer_v1_destroy(object); }
void destroyObject(zwp_idle_inhibit_manager_v1* object) { zwp_idle_inhibit_manager_v1_destroy(object); }
void destroyObject(zwp_idle_inhibitor_v1* object) { zwp_idle_inhibitor_v1_destroy(object); }
void destroyObject(zxdg_output_manager_v1* object) { zxdg_output_manager_v1_destroy(object); }
void destroyObject(zxdg_output_v1* object) { zxdg_output_v1_destroy(object); }

void destroyObject(wl_keyboard* object)
{
    if (wl_keyboard_get_version(object) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(object);
    else
        forget(object);
}

void destroyObject(wl_output* object)
{
    if (wl_output_get_version(object) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(object);
    else
        forget(object);
}

void destroyObject(wl_pointer* object)
{
    if (wl_pointer_get_version(object) >= WL_POINTER_RELEASE_SINCE_VERSION)
        wl_pointer_release(object);
    else
        forget(object);
}

void destroyObject(wl_seat* object)
{
    if (wl_seat_get_version(object) >= WL_SEAT_RELEASE_SINCE_VERSION)
        wl_seat_release(object);
    else
        forget(object);
}

void destroyObject(zwlr_layer_shell_v1* object)
{
    if (zwlr_layer_shell_v1_get_version(object) >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
        zwlr_layer_shell_v1_destroy(object);
    else
        forget(object);
}

} // namespace platform::wayland
