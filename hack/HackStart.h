#pragma once
// What a run of the hack starts from, given its command line: the settings it
// runs with and the window it draws into.

#include "hack/HackOptions.h"
#include "platform/Platform.h"

#include <optional>
#include <string>

/** The settings of the run: the options over what the settings dialog
 *  stored, or with --no-stored-settings over the dialog's defaults. */
SaverSettingsRecord hackSettings(platform::Platform& platform, const HackOptions& options);

/** The window to draw into: --window-id; else the host's (hostWindow, the
 *  text of $XSCREENSAVER_WINDOW, when set); else with --root the root
 *  window, and without it 0 for a window of its own. Null when the host's
 *  text is no window id. */
std::optional<platform::WindowId> targetWindow(const HackOptions& options,
                                               const std::optional<std::string>& hostWindow,
                                               platform::WindowId root);

/** Screen pixels per frog pixel in the window to draw into (host, of size;
 *  0 for a window of its own): --scale, else the desktop's scale, and in a
 *  host's preview the frogs' share of it. */
double hackFrogScale(platform::Platform& platform, const HackOptions& options,
                     platform::WindowId host, QSize size);
