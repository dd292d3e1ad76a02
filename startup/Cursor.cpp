#include "startup/Cursor.h"

#include "startup/Globals.h"

#include <QWindow>

namespace {

// Whether HideCursor has hidden the cursor and RestoreCursor not yet shown it.
bool cursorHidden = false;

// The platform's count is 32-bit; like the rest of the program we keep 16.
std::int16_t showCursor(platform::Platform& platform, bool show)
{
    return static_cast<std::int16_t>(platform.ShowCursor(show ? -1 : 0));
}

} // namespace

void HideCursor(platform::Platform& platform)
{
    std::int16_t count = showCursor(platform, false);
    CursorBase = static_cast<std::int16_t>(count + 1);
    while (count > -1)
        count = showCursor(platform, false);
    cursorHidden = true;
}

void RestoreCursor(platform::Platform& platform)
{
    std::int16_t count = showCursor(platform, true);
    while (count < CursorBase)
        count = showCursor(platform, true);
    cursorHidden = false;
}

void EndSaver(platform::Platform& platform, QWindow* saverWindow)
{
    RestoreCursor(platform);
    if (saverWindow) {
        platform.releaseInput();
        saverWindow->hide();
    }
    platform.endProcess(0);
}

void EndOnRequest(platform::Platform& platform)
{
    if (cursorHidden) {
        RestoreCursor(platform);
        platform.releaseInput();
    }
    platform.endProcess(0);
}
