#include "platform/x11/SoundModule.h"
#include "platform/x11/SoundPlayer.h"

extern "C" __attribute__((visibility("default"))) bool lilywade_play_sound_file(const char* path,
                                                                               bool silent)
{
    if (!path)
        return false;
    return silent ? platform::waitSoundFile(path) : platform::playSoundFile(path);
}
