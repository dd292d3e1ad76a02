#pragma once
// The five user options' stored form, and loading and saving them.

#include "platform/Platform.h"
#include "settings/SaverSettingsRecord.h"

#include <cstdint>

/** The slowest Speed the program accepts; stored values are clamped to 0..MaxSpeed. */
inline constexpr std::int16_t MaxSpeed = 200;

/** A Speed from the store or a command line, kept to 0..MaxSpeed (NaN as 0), so
 *  that no value can turn into a negative or huge pause. */
std::int16_t clampedSpeed(double speed);

/** Fills SaverSettings from the store. */
void LoadSettings(platform::Platform& platform);

/** Writes the record to the store: the options as 1 (on) or 0 (off), and Speed. */
void SaveSettings(platform::Platform& platform, const SaverSettingsRecord& settings);
