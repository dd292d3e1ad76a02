// One saver per display, and one player of sounds: each a name claimed for
// the life of the process (NameClaim.h).
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/NameClaim.h"

#include <QByteArray>
#include <unistd.h>

namespace platform {

/** Claims "lilywade-<what>-<user>-<display>" for the life of the process. */
bool LinuxPlatform::claimName(const char* what)
{
    // Where no socket can be had, the saver falls back on the window check alone.
    return claimAbstractName("lilywade-" + QByteArray(what) + "-" + QByteArray::number(::getuid()) + "-"
                             + QByteArray::fromStdString(displayName()));
}

bool LinuxPlatform::claimSaverInstance()
{
    return claimName("saver");
}

bool LinuxPlatform::claimSoundPlayer()
{
    soundSilent_ = !claimName("sound");
    return !soundSilent_;
}

} // namespace platform
