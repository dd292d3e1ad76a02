#pragma once
// Hiding the cursor for the saver, bringing it back, and ending the saver.

#include "platform/Platform.h"

class QWindow;

/** Hides the cursor and records the display count it had in CursorBase. */
void HideCursor(platform::Platform& platform);
/** Shows the cursor until the display count is back at CursorBase (at least one request). */
void RestoreCursor(platform::Platform& platform);
/** Restores the cursor, unloads the saver window and ends the process with
 *  status 0. Returns only under a test's platform: callers do nothing after it. */
void EndSaver(platform::Platform& platform, QWindow* saverWindow);
/** Ends the process with status 0 on a request from outside (a signal),
 *  restoring the cursor first when the saver had hidden it. Returns only
 *  under a test's platform. */
void EndOnRequest(platform::Platform& platform);
