#pragma once
// The probes' way into the platform: the X11 one over $DISPLAY, as the
// preview and the hack use it.

#include "platform/factory/PlatformFactory.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>

/** The platform, or null after one line on standard error saying why. */
inline std::unique_ptr<platform::Platform> openProbePlatform(int& argc, char** argv)
{
    auto made = platform::createPlatform(platform::DisplayUse::X11Window,
                                         [&] { return std::make_unique<QGuiApplication>(argc, argv); });
    if (!made.platform)
        std::fprintf(stderr, "%s\n", made.error.c_str());
    return std::move(made.platform);
}
