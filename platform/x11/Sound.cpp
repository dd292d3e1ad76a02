// Synchronous playback of a sound file; the desktop bell when it cannot play.
#include "platform/x11/SoundPlayer.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>

namespace platform {

bool X11Platform::sndPlaySoundA(const std::string& path, std::uint32_t)
{
    if (playSoundFile(path))
        return true;
    QApplication::beep();
    return false;
}

} // namespace platform
