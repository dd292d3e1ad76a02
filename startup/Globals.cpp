#include "startup/Globals.h"

SaverSettingsRecord SaverSettings;
std::int16_t UnitsPerPixelX = 0;
std::int16_t UnitsPerPixelY = 0;
std::int32_t PreviewParent = 0;
std::int16_t CursorBase = 0;
