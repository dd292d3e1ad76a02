// Synchronous playback of a sound file; the desktop bell when it cannot play.
#include "platform/linux/EventWait.h"
#include "platform/linux/ProgramModule.h"
#include "platform/linux/SoundModule.h"
#include "platform/linux/LinuxPlatform.h"

#include <cstdio>

namespace platform {

namespace {

using PlayFunction = decltype(&lilywade_play_sound_file);

/** The module's entry, or null (said once on stderr) when it cannot be loaded. */
PlayFunction loadSoundModule()
{
    std::string error;
    auto play = reinterpret_cast<PlayFunction>(programModuleEntry(SoundModuleFile, SoundModuleEntry, error));
    if (!play)
        std::fprintf(stderr, "Lilywade: no sound module (%s); the bell sounds instead.\n",
                     error.c_str());
    return play;
}

} // namespace

bool LinuxPlatform::sndPlaySoundA(const std::string& path, std::uint32_t)
{
    // Loaded at the first sound and kept: one try per process.
    static const PlayFunction play = loadSoundModule();
    // Played on a thread of its own while input is still handled here.
    const bool silent = soundSilent_;
    if (play && handleEventsDuring([&path, silent] { return play(path.c_str(), silent); }))
        return true;
    // The process that plays the sounds rings the bell for them too.
    if (silent)
        return false;
    ringBell();
    return false;
}

} // namespace platform
