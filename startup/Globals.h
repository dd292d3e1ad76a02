#pragma once
// The program-wide values: set by start-up, read by the windows.

#include "settings/SaverSettingsRecord.h"

#include <cstdint>

extern SaverSettingsRecord SaverSettings; // the user's options, loaded at start
extern std::int16_t UnitsPerPixelX;       // the screen's horizontal twips per pixel
extern std::int16_t UnitsPerPixelY;       // the screen's vertical twips per pixel
extern std::int32_t PreviewParent;        // the host's preview window, in preview mode
extern std::int16_t CursorBase;           // cursor display count before the saver hid it
