#pragma once
// The sound module: ALSA and libsndfile (with the codec libraries it pulls in)
// live in a shared object beside the program, loaded at the first sound, so
// that a saver which never plays one neither loads nor keeps them.

namespace platform {

inline constexpr const char* SoundModuleFile = "lilywade-sound.so";
inline constexpr const char* SoundModuleEntry = "lilywade_play_sound_file";

} // namespace platform

/** The module's one entry: plays the file to its end, or with silent only waits
 *  as long as it lasts; false when the file cannot be played. */
extern "C" bool lilywade_play_sound_file(const char* path, bool silent);
