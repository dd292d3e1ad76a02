// Test tool: the Wayland layer on a real compositor. Prints the globals and
// the outputs, copies what the outputs show, covers every output with the
// canvas (the copies in inverted colours), then prints input one event a
// line and marks each pointer move on the canvas with a yellow 16 x 16
// square at the pointer. Exits 0 at the first key or on SIGTERM, 1 when the
// compositor goes away, 2 when it cannot start.
// Usage: wayland_probe [DIR]   (DIR: where copy.png and canvas.png go)
#include "platform/wayland/FlippingCanvas.h"
#include "platform/wayland/Session.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSocketNotifier>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

using platform::wayland::FlippingCanvas;
using platform::wayland::PlacedOutput;
using platform::wayland::Session;

namespace {

const auto started = std::chrono::steady_clock::now();

double msSinceStart()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString rect(const QRect& r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

void describe(const Session& session)
{
    for (const auto& global : session.connection().offered())
        say(QStringLiteral("global %1 %2").arg(global.interface).arg(global.version));
    for (const PlacedOutput& placed : session.outputs()) {
        const auto& output = *placed.output;
        say(QStringLiteral("output %1 logical=%2 scale=%3 pixels=%4x%5 canvas=%6")
                .arg(output.name(), rect(output.logicalGeometry()))
                .arg(output.scale())
                .arg(output.pixelSize().width())
                .arg(output.pixelSize().height())
                .arg(rect(placed.canvas)));
    }
    say(QStringLiteral("surfaces %1").arg(session.hasLayerShell() ? "layer" : "toplevel"));
}

/** The canvas again after the layout changed: each output keeps its picture, new ones are black. */
QImage relaid(const QImage& old, const std::vector<PlacedOutput>& before, const Session& session)
{
    QImage canvas(session.canvasSize(), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    for (const PlacedOutput& now : session.outputs())
        for (const PlacedOutput& then : before)
            if (then.output == now.output)
                painter.drawImage(now.canvas.topLeft(), old, then.canvas);
    return canvas;
}

/** SIGTERM, SIGINT and SIGHUP read as events of the loop. */
std::unique_ptr<QSocketNotifier> onTermination(std::function<void()> handler)
{
    sigset_t stopping;
    sigemptyset(&stopping);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&stopping, signal);
    sigprocmask(SIG_BLOCK, &stopping, nullptr);
    const int fd = signalfd(-1, &stopping, SFD_CLOEXEC);
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, std::move(handler));
    return notifier;
}

} // namespace

int main(int argc, char** argv)
{
    // Qt only for its loop and its images; Wayland is ours.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString saveDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QString error;
    std::unique_ptr<Session> session = Session::open(error);
    if (!session) {
        say("error " + error);
        return 2;
    }
    describe(*session);
    say(QStringLiteral("connected ms=%1").arg(msSinceStart(), 0, 'f', 1));

    QImage copy = session->screenCopy();
    say(QStringLiteral("copied ms=%1 canvas=%2x%3").arg(msSinceStart(), 0, 'f', 1).arg(copy.width()).arg(copy.height()));
    if (!saveDir.isEmpty())
        copy.save(QDir(saveDir).filePath("copy.png"));
    copy.invertPixels();
    if (!saveDir.isEmpty())
        copy.save(QDir(saveDir).filePath("canvas.png"));
    FlippingCanvas canvas(*session, copy.size());
    canvas.replace(std::move(copy));

    Session::Events& events = session->events;
    events.keyPressed = [](std::uint32_t key) {
        say(QStringLiteral("key %1").arg(key));
        QCoreApplication::exit(0);
    };
    events.buttonPressed = [](std::uint32_t button, QPointF at) {
        say(QStringLiteral("button %1 %2 %3").arg(button).arg(at.x()).arg(at.y()));
    };
    events.pointerMoved = [&](QPointF at) {
        say(QStringLiteral("motion %1 %2").arg(at.x()).arg(at.y()));
        const QRect mark(at.toPoint(), QSize(16, 16));
        QPainter(&canvas.image()).fillRect(mark, Qt::yellow);
        canvas.refresh(*session, mark);
    };
    events.wheelTurned = [](QPointF at) { say(QStringLiteral("wheel %1 %2").arg(at.x()).arg(at.y())); };
    events.outputCame = [](const platform::wayland::Output& output) { say("came " + output.name()); };
    events.outputWent = [](const QString& name) { say("went " + name); };
    std::vector<PlacedOutput> placed = session->outputs();
    events.layoutChanged = [&] {
        say(QStringLiteral("layout %1x%2 outputs=%3")
                .arg(session->canvasSize().width())
                .arg(session->canvasSize().height())
                .arg(session->outputs().size()));
        canvas.replace(relaid(canvas.image(), placed, *session));
        placed = session->outputs();
        canvas.refresh(*session, QRect());
    };
    events.covered = [] { say(QStringLiteral("covered ms=%1").arg(msSinceStart(), 0, 'f', 1)); };
    events.lost = [](const QString& why) {
        say("lost " + why);
        QCoreApplication::exit(1);
    };
    const auto termination = onTermination([] {
        say("terminated");
        QCoreApplication::exit(0);
    });

    session->startReading();
    canvas.refresh(*session, QRect());
    return app.exec();
}
