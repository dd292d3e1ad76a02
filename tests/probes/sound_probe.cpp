// Test tool: plays a file with sndPlaySoundA as the saver does and listens on
// a connection of its own for the desktop bell. With --claim it first claims
// the sound player as a hack does, and stays silent when another process
// holds the claim. Prints "ms=<duration of the call> bell=<0|1> silent=<0|1>";
// exits 0 when the sound played (or was waited for), 1 when it did not.
#include "platform/x11/XConnection.h"
#include "tests/probes/ProbePlatform.h"

#include <X11/XKBlib.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;

/** A connection that receives XKB bell notifications, or null. */
DisplayPtr bellListener()
{
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    DisplayPtr display(XkbOpenDisplay(nullptr, &event, &error, &major, &minor, nullptr), XCloseDisplay);
    if (!display || !XkbQueryExtension(display.get(), &opcode, &event, &error, &major, &minor))
        return DisplayPtr(nullptr, XCloseDisplay);
    XkbSelectEvents(display.get(), XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(display.get(), False);
    return display;
}

bool bellRang(Display* display)
{
    // The saver's connection has made a round trip, so a bell it rang has
    // been delivered to this connection by now.
    XSync(display, False);
    return XPending(display) > 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool claim = argc == 3 && std::strcmp(argv[1], "--claim") == 0;
    if (argc != 2 && !claim) {
        std::fprintf(stderr, "usage: sound_probe [--claim] FILE\n");
        return 2;
    }
    const char* file = argv[argc - 1];
    const std::unique_ptr<platform::Platform> opened = openProbePlatform(argc, argv);
    if (!opened)
        return 2;
    platform::Platform& platform = *opened;
    DisplayPtr listener = bellListener();
    if (!listener) {
        std::fprintf(stderr, "sound_probe: no XKB on the display\n");
        return 2;
    }
    const bool silent = claim && !platform.claimSoundPlayer();
    const auto start = std::chrono::steady_clock::now();
    const bool played = platform.sndPlaySoundA(file, 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    platform::x11::flushX();
    std::printf("ms=%lld bell=%d silent=%d\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()),
                bellRang(listener.get()) ? 1 : 0, silent ? 1 : 0);
    return played ? 0 : 1;
}
