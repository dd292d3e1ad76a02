#include "platform/wayland/WaylandFactory.h"
#include "platform/wayland/Session.h"
#include "platform/wayland/WaylandPlatform.h"

namespace platform {

PlatformOrError createWaylandPlatform(DisplayUse use, const ToolkitStarter& startToolkit)
{
    QString error;
    std::unique_ptr<wayland::Session> session = wayland::Session::open(error);
    if (!session)
        return {nullptr, "cannot use the Wayland display \"" + qgetenv("WAYLAND_DISPLAY").toStdString()
                             + "\" (" + error.toStdString() + ")"};
    // The saver's window is the toolkit's only for its events: what shows
    // is the session's surfaces.
    if (use == DisplayUse::SaverScreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return {std::make_unique<wayland::WaylandPlatform>(startToolkit(), std::move(session)), {}};
}

} // namespace platform
