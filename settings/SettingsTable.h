#pragma once
// The five stored settings, in the order they are read and written.
//
// The reading and the writing spellings differ, and the file has always been
// written with the second ones; the store matches names without regard to
// case, so both spellings name the same value. Keep them as they are: the
// stored file must stay readable both ways.

#include "settings/SaverSettingsRecord.h"

#include <array>
#include <span>

struct StoredSetting {
    std::int16_t SaverSettingsRecord::*field;
    const char* readKey;
    const char* writeKey;
    const char* checkBox; // the dialog's box for an on/off option; none for Speed

    constexpr bool isFlag() const { return checkBox != nullptr; }
};

inline constexpr const char* ReadSection = "startup";
inline constexpr const char* WriteSection = "Startup";

inline constexpr std::array<StoredSetting, 5> StoredSettings{{
    // field                       read      write     dialog box
    {&SaverSettingsRecord::Hole,   "hole",   "Hole",   "CheckHole"},
    {&SaverSettingsRecord::Streak, "streak", "Streak", "CheckStreak"},
    {&SaverSettingsRecord::Sound,  "sound",  "Sound",  "CheckSnd"},
    {&SaverSettingsRecord::Blank,  "Blank",  "blank",  "CheckBlank"},
    {&SaverSettingsRecord::Speed,  "Speed",  "Speed",  nullptr},
}};

/** The four on/off options, in table order (Blank after the boxes it clears).
 *  A span rather than a filtered view: clang, which builds the fuzz targets,
 *  cannot compile GCC 12's views. */
inline constexpr std::span<const StoredSetting> storedFlags()
{
    return std::span<const StoredSetting>(StoredSettings).first(4);
}
static_assert(StoredSettings[0].isFlag() && StoredSettings[1].isFlag() && StoredSettings[2].isFlag()
                  && StoredSettings[3].isFlag() && !StoredSettings[4].isFlag(),
              "the flags come first, Speed last");
