// Test tool: takes the display device context as the saver does, or the
// screen copy by one method only, and writes it as PNG. Prints
// "ms=<duration> size=<w>x<h> opaque=<0|1> format=<0|1>"; exits 1 when there
// is no copy.
// Usage: snapshot_probe OUT.png [shm|socket|qt]
#include "platform/x11/ScreenGrab.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

bool allOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0xff)
                return false;
    }
    return true;
}

std::unique_ptr<QImage> grabBy(const std::string& method)
{
    using platform::GrabMethod;
    const GrabMethod chosen = method == "shm"    ? GrabMethod::SharedMemory
                            : method == "socket" ? GrabMethod::Socket
                                                 : GrabMethod::Qt;
    QImage image = platform::grabRootWindow(chosen);
    return image.isNull() ? nullptr : std::make_unique<QImage>(std::move(image));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: snapshot_probe OUT.png [shm|socket|qt]\n");
        return 2;
    }
    QApplication app(argc, argv);
    platform::X11Platform platform(QApplication::arguments());
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<platform::DeviceContext> display =
        argc == 2 ? platform.CreateDCA("DISPLAY", "", "", nullptr) : grabBy(argv[2]);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (!display)
        return 1;
    std::printf("ms=%.1f size=%dx%d opaque=%d format=%d\n",
                std::chrono::duration<double, std::milli>(elapsed).count(), display->width(),
                display->height(), allOpaque(*display) ? 1 : 0,
                display->format() == QImage::Format_RGB32 ? 1 : 0);
    const bool saved = display->save(QString::fromLocal8Bit(argv[1]));
    platform.DeleteDC(std::move(display));
    return saved ? 0 : 2;
}
