#pragma once
// The record of the five user options, apart from their loading and saving,
// so that the program-wide values can hold one without the store's code.

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
