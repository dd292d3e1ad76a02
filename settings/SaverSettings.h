#pragma once
// The five user options, their stored form, and loading and saving them.

#include "platform/Platform.h"

#include <cstdint>

/** The settings record: Booleans are 0 (false) or -1 (true), Speed in milliseconds. */
struct SaverSettingsRecord {
    std::int16_t Hole = 0;
    std::int16_t Streak = 0;
    std::int16_t Sound = 0;
    std::int16_t Blank = 0;
    std::int16_t Speed = 0;

    bool operator==(const SaverSettingsRecord&) const = default;
};

/** The slowest Speed the program accepts; stored values are clamped to 0..MaxSpeed. */
inline constexpr std::int16_t MaxSpeed = 200;

/** A Speed from the store or a command line, kept to 0..MaxSpeed (NaN as 0), so
 *  that no value can turn into a negative or huge pause. */
std::int16_t clampedSpeed(double speed);

/** Fills SaverSettings from the store. */
void LoadSettings(platform::Platform& platform);

/** Writes the record to the store: the options as 1 (on) or 0 (off), and Speed. */
void SaveSettings(platform::Platform& platform, const SaverSettingsRecord& settings);
