#include "platform/wayland/Session.h"

#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace platform::wayland {

std::unique_ptr<Session> Session::open(QString& error, int timeoutMs)
{
    std::unique_ptr<Connection> connection = Connection::open(error);
    if (!connection)
        return nullptr;
    std::unique_ptr<Session> session(new Session(std::move(connection)));
    if (!session->start(timeoutMs, error))
        return nullptr;
    return session;
}

Session::Session(std::unique_ptr<Connection> connection) : connection_(std::move(connection))
{
    input_.toCanvas = [this](wl_surface* surface, QPointF where) { return toCanvas(surface, where); };
    input_.keyPressed = [this](std::uint32_t key) {
        if (events.keyPressed)
            events.keyPressed(key);
    };
    input_.buttonPressed = [this](std::uint32_t button, QPointF where) {
        if (events.buttonPressed)
            events.buttonPressed(button, where);
    };
    input_.pointerMoved = [this](QPointF where) {
        if (events.pointerMoved)
            events.pointerMoved(where);
    };
    input_.wheelTurned = [this](QPointF where) {
        if (events.wheelTurned)
            events.wheelTurned(where);
    };
}

Session::~Session() = default;

bool Session::start(int timeoutMs, QString& error)
{
    Connection& c = *connection_;
    c.outputAdded = [this](std::uint32_t name, std::uint32_t version) { addOutput(name, version); };
    c.seatAdded = [this](std::uint32_t name, std::uint32_t version) {
        seats_.push_back(std::make_unique<Seat>(*connection_, name, version, input_, !started_));
    };
    c.globalRemoved = [this](std::uint32_t name) { removeGlobal(name); };
    c.lost = [this](const QString& why) {
        if (events.lost)
            events.lost(why);
    };
    if (!c.bindGlobals(timeoutMs)) {
        error = QStringLiteral("the Wayland compositor does not answer");
        return false;
    }
    const Globals& globals = c.globals();
    if (!globals.compositor || !globals.shm || (!globals.layerShell && !globals.wmBase)) {
        error = QStringLiteral("the Wayland compositor offers no surfaces for a screen saver");
        return false;
    }
    // Outputs announced before the xdg-output manager get their logical description now.
    if (globals.xdgOutputManager)
        for (const std::unique_ptr<Output>& output : outputs_)
            output->describeLogically(globals.xdgOutputManager.get());
    const auto described = [this] {
        return std::all_of(outputs_.begin(), outputs_.end(), [](const auto& output) { return output->isReady(); });
    };
    if (!c.waitUntil(described, timeoutMs) && c.isLost()) {
        error = QStringLiteral("the Wayland compositor went away");
        return false;
    }
    started_ = true;
    return true;
}

std::vector<PlacedOutput> Session::outputs() const
{
    std::vector<PlacedOutput> placed;
    for (std::size_t i = 0; i < layoutOrder_.size(); ++i)
        placed.push_back({outputNamed(layoutOrder_[i]), layout_.outputs[i]});
    return placed;
}

void Session::addOutput(std::uint32_t name, std::uint32_t version)
{
    auto output = std::make_unique<Output>(*connection_, name, version);
    output->changed = [this](Output& described) { outputDescribed(described); };
    outputs_.push_back(std::move(output));
}

void Session::outputDescribed(const Output& output)
{
    const bool came = !described_.contains(output.globalName());
    described_.insert(output.globalName());
    const bool moved = relayout();
    // An output that comes is covered at once.
    if (frames_ && !surfaces_.contains(output.globalName()))
        cover(output);
    if (came && events.outputCame)
        events.outputCame(output);
    if (moved && events.layoutChanged)
        events.layoutChanged();
}

void Session::removeGlobal(std::uint32_t name)
{
    std::erase_if(seats_, [name](const auto& seat) { return seat->globalName() == name; });
    const Output* output = outputNamed(name);
    if (!output)
        return;
    const QString outputName = output->name();
    const bool wasDescribed = described_.erase(name) > 0;
    surfaces_.erase(name);
    copies_.erase(name);
    kwinCopies_.erase(name);
    std::erase_if(outputs_, [name](const auto& output) { return output->globalName() == name; });
    const bool moved = relayout();
    if (wasDescribed && events.outputWent)
        events.outputWent(outputName);
    if (moved && events.layoutChanged)
        events.layoutChanged();
}

bool Session::relayout()
{
    const std::vector<std::uint32_t> order = layoutOrder_;
    const CanvasLayout before = layout_;
    std::vector<LayoutOutput> places;
    layoutOrder_.clear();
    for (const std::unique_ptr<Output>& output : outputs_) {
        if (!output->isReady())
            continue;
        places.push_back({output->logicalGeometry(), output->scale()});
        layoutOrder_.push_back(output->globalName());
    }
    layout_ = layoutCanvas(places);
    for (auto& [name, surface] : surfaces_) {
        const QRect rect = canvasRect(name);
        const Output* output = outputNamed(name);
        if (output && (rect != surface->canvasRect() || output->scale() != surface->scale())) {
            surface->place(rect, output->scale());
            surface->present();
        }
    }
    return order != layoutOrder_ || before.size != layout_.size || before.outputs != layout_.outputs;
}

void Session::startScreenCopy()
{
    copies_.clear();
    kwinCopies_.clear();
    copied_.clear();
    for (const std::unique_ptr<Output>& output : outputs_) {
        if (!output->isReady())
            continue;
        const std::uint32_t name = output->globalName();
        auto keep = [this, name](QImage image) {
            copied_[name] = std::move(image);
            if (copyArrived_)
                copyArrived_();
        };
        if (hasScreenCopy())
            copies_[name] = copyOutput(*connection_, *output, keep);
        else if (sessionBus_)
            kwinCopies_[name] = std::make_unique<KWinScreenShot>(output->name(), keep);
    }
    connection_->send();
}

bool Session::copiesFinished() const
{
    const auto finished = [](const auto& copy) { return copy.second->isFinished(); };
    return std::all_of(copies_.begin(), copies_.end(), finished)
        && std::all_of(kwinCopies_.begin(), kwinCopies_.end(), finished);
}

void Session::waitForKWin(int timeoutMs)
{
    if (copiesFinished())
        return;
    // The bus's answers come through Qt's event loop, and so do meanwhile the
    // compositor's events and the signals that end the program.
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    copyArrived_ = [this, &loop] {
        if (copiesFinished())
            loop.quit();
    };
    loop.exec();
    copyArrived_ = nullptr;
}

QImage Session::screenCopy(int timeoutMs)
{
    if (copies_.empty() && kwinCopies_.empty())
        startScreenCopy();
    if (!kwinCopies_.empty())
        waitForKWin(timeoutMs);
    else
        connection_->waitUntil([this] { return copiesFinished(); }, timeoutMs);
    QImage canvas(layout_.size, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    // Only a fractional scale makes a copy's size differ from its place.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PlacedOutput& placed : outputs()) {
        const auto copy = copied_.find(placed.output->globalName());
        if (copy != copied_.end() && !copy->second.isNull())
            painter.drawImage(placed.canvas, copy->second);
    }
    copies_.clear();
    kwinCopies_.clear();
    copied_.clear();
    return canvas;
}

void Session::showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed)
{
    // New frames (the first, or of a new size) cover every output anew, also
    // one whose surface the compositor closed.
    const bool cameNew = frames != frames_;
    frames_ = frames;
    front_ = index;
    if (cameNew) {
        for (const std::unique_ptr<Output>& output : outputs_)
            if (output->isReady())
                cover(*output);
    } else {
        for (auto& [name, surface] : surfaces_)
            surface->showFrame(frames, index, changed);
    }
    connection_->send();
}

bool Session::holdsFrame(int index) const
{
    return std::any_of(surfaces_.begin(), surfaces_.end(),
                       [index](const auto& surface) { return surface.second->holdsFrame(index); });
}

void Session::cover(const Output& output)
{
    const std::uint32_t name = output.globalName();
    std::unique_ptr<OutputSurface>& surface = surfaces_[name];
    if (!surface) {
        surface = std::make_unique<OutputSurface>(*connection_, output);
        surface->shownFirst = [this] { surfaceShown(); };
        surface->closed = [this, name] {
            // Not from inside the surface's own event.
            QTimer::singleShot(0, &context_, [this, name] { surfaceClosed(name); });
        };
    }
    if (surface->canvasRect() != canvasRect(name) || surface->scale() != output.scale())
        surface->place(canvasRect(name), output.scale());
    // All of it, on a new surface or with new frames.
    surface->showFrame(frames_, front_, frames_->rect());
}

void Session::hideCanvas()
{
    surfaces_.clear();
    frames_.reset();
    connection_->send();
}

void Session::surfaceShown()
{
    const bool all = std::all_of(surfaces_.begin(), surfaces_.end(),
                                 [](const auto& surface) { return surface.second->isShown(); });
    if (all && events.covered)
        events.covered();
}

void Session::surfaceClosed(std::uint32_t outputName) { surfaces_.erase(outputName); }

std::optional<QPointF> Session::toCanvas(wl_surface* surface, QPointF where) const
{
    for (const auto& [name, ours] : surfaces_)
        if (ours->surface() == surface)
            return QPointF(ours->canvasRect().topLeft()) + where * ours->scale();
    return std::nullopt;
}

const Output* Session::outputNamed(std::uint32_t name) const
{
    for (const std::unique_ptr<Output>& output : outputs_)
        if (output->globalName() == name)
            return output.get();
    return nullptr;
}

QRect Session::canvasRect(std::uint32_t outputName) const
{
    for (std::size_t i = 0; i < layoutOrder_.size(); ++i)
        if (layoutOrder_[i] == outputName)
            return layout_.outputs[i];
    return {};
}

} // namespace platform::wayland
