#include "platform/linux/SessionBus.h"

#include <QByteArray>
#include <QtGlobal>
#include <sys/stat.h>

namespace platform {

bool sessionBusRuns()
{
    if (!qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty())
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return false;
    struct stat bus {};
    return ::stat((runtime + "/bus").constData(), &bus) == 0 && S_ISSOCK(bus.st_mode);
}

} // namespace platform
