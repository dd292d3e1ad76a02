#include "platform/x11/SoundModule.h"
#include "platform/x11/SoundPlayer.h"

extern "C" __attribute__((visibility("default"))) bool lilywade_play_sound_file(const char* path)
{
    return path && platform::playSoundFile(path);
}
