// Test tool for KDE Plasma's KWin, which lets only programs named by an
// installed desktop entry copy the screen or make input.
// Usage:
//   kwin_tool shot FILE     writes what the outputs show (org.kde.KWin.ScreenShot2,
//       the whole workspace in the outputs' own pixels) to FILE as PNG, without
//       alpha, which the screen does not show; exits 1 with KWin's error
//   kwin_tool input ACTION...  a fake input device (org_kde_kwin_fake_input):
//       key       presses and releases the key A
//       click     presses and releases the left button
//       move DX DY  moves the pointer by a distance
//       wait MS   waits
//       hold MS   prints "held" once KWin has the actions so far, and waits:
//                 the seat keeps a pointer while the device is there
//     then prints "acted MS" (the wall clock in ms since the epoch, as the last
//     action has reached KWin); exits 1 without the protocol
//   kwin_tool pattern       one full-screen window per output, in random
//       blocks of colour, one pattern per output; prints "shown" once each
//       has been painted, and "unfocused MS" (the wall clock) each time the
//       keyboard leaves them all; runs until killed
#include "fake-input-client-protocol.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <fcntl.h>
#include <unistd.h>
#include <wayland-client.h>

namespace {

int shot(const QString& file)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return 1;
    QDBusMessage reply;
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            "org.kde.KWin.ScreenShot2", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureWorkspace");
        call << QVariantMap{{"native-resolution", true}} << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
        ::close(ends[1]);
        reply = QDBusConnection::sessionBus().call(call);
    } // the call's copy of the write end goes: KWin's closing then ends the pipe
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "kwin_tool: %s\n", qPrintable(reply.errorName()));
        return 1;
    }
    QFile pipe;
    pipe.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray bytes = pipe.readAll();
    const QVariantMap shown = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    const auto format = QImage::Format(shown["format"].toInt());
    QImage image(reinterpret_cast<const uchar*>(bytes.constData()), shown["width"].toInt(), shown["height"].toInt(),
                 shown["stride"].toInt(), format);
    if (bytes.size() < shown["stride"].toInt() * shown["height"].toInt() || image.isNull()) {
        std::fprintf(stderr, "kwin_tool: %lld bytes for %s\n", qint64(bytes.size()),
                     qPrintable(QVariant(shown).toString()));
        return 1;
    }
    if (format == QImage::Format_ARGB32 || format == QImage::Format_ARGB32_Premultiplied)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image.convertToFormat(QImage::Format_RGB888).save(file, "PNG") ? 0 : 1;
}

struct Input {
    org_kde_kwin_fake_input* device = nullptr;
};

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
        static_cast<Input*>(data)->device = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, std::min(version, 4u)));
}
void globalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener = {global, globalRemove};

long long epochMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void act(wl_display* display, org_kde_kwin_fake_input* device, char** argv, int argc)
{
    constexpr std::uint32_t keyA = 30, leftButton = 0x110, pressed = 1, released = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string action = argv[i];
        if (action == "key") {
            org_kde_kwin_fake_input_keyboard_key(device, keyA, pressed);
            org_kde_kwin_fake_input_keyboard_key(device, keyA, released);
        } else if (action == "click") {
            org_kde_kwin_fake_input_button(device, leftButton, pressed);
            org_kde_kwin_fake_input_button(device, leftButton, released);
        } else if (action == "move" && i + 2 < argc) {
            org_kde_kwin_fake_input_pointer_motion(device, wl_fixed_from_int(std::atoi(argv[i + 1])),
                                                   wl_fixed_from_int(std::atoi(argv[i + 2])));
            i += 2;
        } else if (action == "wait" && i + 1 < argc) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[++i])));
        } else if (action == "hold" && i + 1 < argc) {
            wl_display_roundtrip(display);
            std::printf("held\n");
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[++i])));
        }
    }
}

int input(char** argv, int argc)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return 1;
    Input found;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &found);
    wl_display_roundtrip(display);
    if (!found.device) {
        std::fprintf(stderr, "kwin_tool: no org_kde_kwin_fake_input\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(found.device, "kwin_tool", "end-to-end tests");
    act(display, found.device, argv, argc);
    wl_display_roundtrip(display);
    std::printf("acted %lld\n", epochMs());
    std::fflush(stdout);
    org_kde_kwin_fake_input_destroy(found.device);
    wl_display_disconnect(display);
    return 0;
}

class Pattern : public QRasterWindow {
public:
    explicit Pattern(unsigned seed) : seed_(seed) {}
    bool painted = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        std::mt19937 random(seed_);
        for (int y = 0; y < height(); y += 40)
            for (int x = 0; x < width(); x += 40)
                painter.fillRect(x, y, 40, 40, QColor::fromRgb(random() & 0xffffff));
        painted = true;
    }

private:
    unsigned seed_;
};

int pattern(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    std::vector<std::unique_ptr<Pattern>> windows;
    for (QScreen* screen : QGuiApplication::screens()) {
        auto window = std::make_unique<Pattern>(unsigned(windows.size() + 1));
        window->setScreen(screen);
        window->setGeometry(screen->geometry());
        window->showFullScreen();
        windows.push_back(std::move(window));
    }
    QObject::connect(&application, &QGuiApplication::focusWindowChanged, [](QWindow* focused) {
        if (!focused) {
            std::printf("unfocused %lld\n", epochMs());
            std::fflush(stdout);
        }
    });
    bool told = false;
    QTimer* check = new QTimer(&application);
    QObject::connect(check, &QTimer::timeout, [&] {
        const bool all = std::all_of(windows.begin(), windows.end(), [](const auto& w) { return w->painted; });
        if (all && !told) {
            told = true;
            std::printf("shown\n");
            std::fflush(stdout);
        }
    });
    check->start(50);
    return application.exec();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "shot" && argc == 3) {
        QCoreApplication application(argc, argv);
        return shot(QString::fromLocal8Bit(argv[2]));
    }
    if (mode == "input")
        return input(argv + 2, argc - 2);
    if (mode == "pattern")
        return pattern(argc, argv);
    std::fprintf(stderr, "usage: kwin_tool shot FILE | input ACTION... | pattern\n");
    return 2;
}
