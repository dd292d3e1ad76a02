#include "platform/linux/SoundModule.h"
#include "platform/linux/SoundPlayer.h"

extern "C" __attribute__((visibility("default"))) bool lilywade_play_sound_file(const char* path,
                                                                               bool silent)
{
    if (!path)
        return false;
    return silent ? platform::waitSoundFile(path) : platform::playSoundFile(path);
}
