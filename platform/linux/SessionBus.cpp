#include "platform/linux/SessionBus.h"

#include <QByteArray>
#include <sys/stat.h>

namespace platform {

bool sessionBusRuns()
{
    // "disabled:" is what the program sets where none ran (factory/PlatformFactory.cpp).
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address != "disabled:";
    // Where the D-Bus library looks when no address is given, before it
    // would autolaunch a bus of its own.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat bus {};
    return !runtime.isEmpty() && stat((runtime + "/bus").constData(), &bus) == 0 && S_ISSOCK(bus.st_mode);
}

} // namespace platform
