#include "hack/HackGround.h"

#include <fstream>
#include <regex>

QImage hackGround(platform::Platform& platform, platform::WindowId host, QSize size, bool blank)
{
    QImage ground = blank || host == 0 ? QImage() : platform.hostScreenshot(host);
    if (ground.isNull()) {
        ground = QImage(size, QImage::Format_RGB32);
        ground.fill(Qt::black);
        return ground;
    }
    // A small preview window gets the whole screen scaled down.
    if (ground.size() != size)
        ground = ground.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return ground.convertToFormat(QImage::Format_RGB32);
}

bool desktopImagesAllowed(const std::string& home)
{
    std::ifstream settings(home + "/.xscreensaver");
    static const std::regex forbidden(R"(^\s*grabDesktopImages\s*:\s*(false|no|off)\s*$)",
                                      std::regex::icase);
    for (std::string line; std::getline(settings, line);)
        if (std::regex_match(line, forbidden))
            return false;
    return true;
}
