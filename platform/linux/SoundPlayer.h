#pragma once
// Synchronous playback of a WAV file on ALSA's default device.

#include <string>

namespace platform {

/**
 * Plays the file to its end and returns true; returns false at once when the
 * file cannot be decoded or no device takes it. Lasts as long as the sound
 * even on devices that do not pace, such as ALSA's null and file devices.
 */
bool playSoundFile(const std::string& path);

/** Waits as long as the file's sound lasts, without playing it; false at once
 *  when the file cannot be decoded. */
bool waitSoundFile(const std::string& path);

} // namespace platform
