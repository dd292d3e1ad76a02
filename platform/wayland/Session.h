#pragma once
// What a screen saver needs from a Wayland compositor, in one object: the
// outputs as one canvas, a copy of what they show, a surface over each of
// them showing its part of the canvas, and the first signs of input.

#include "platform/wayland/CanvasLayout.h"
#include "platform/wayland/Connection.h"
#include "platform/wayland/FrameScreen.h"
#include "platform/wayland/KWinScreenShot.h"
#include "platform/wayland/Output.h"
#include "platform/wayland/OutputCopyProtocol.h"
#include "platform/wayland/OutputSurface.h"
#include "platform/wayland/Seat.h"

#include <QImage>
#include <QObject>
#include <map>
#include <set>
#include <memory>
#include <vector>

namespace platform::wayland {

/** An output and where its pixels are on the canvas. */
struct PlacedOutput {
    const Output* output;
    QRect canvas;
};

/** The compositor's outputs, seats and our surfaces. Callbacks run while
 *  events are dispatched and must not destroy the session. As a screen, it
 *  shows the canvas's frames over every output, and over each one that comes. */
class Session : public FrameScreen {
public:
    /** Connects, binds the globals and waits (at most timeoutMs) for the outputs'
     *  descriptions; null, with error set, without a usable compositor. */
    static std::unique_ptr<Session> open(QString& error, int timeoutMs = 3000);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /** What the session reports; set these before the event loop runs. */
    struct Events {
        std::function<void(std::uint32_t key)> keyPressed;
        std::function<void(std::uint32_t button, QPointF where)> buttonPressed;
        std::function<void(QPointF where)> pointerMoved;
        std::function<void(QPointF where)> wheelTurned;
        /** An output came (its first description), and is covered if the canvas is shown. */
        std::function<void(const Output& output)> outputCame;
        /** A described output went, with its surface. */
        std::function<void(const QString& name)> outputWent;
        /** After outputs came, went or changed: the canvas's size or its places changed. */
        std::function<void()> layoutChanged;
        /** Every output shows its surface (again, after one came). */
        std::function<void()> covered;
        /** The compositor went away or reported a protocol error. */
        std::function<void(const QString& why)> lost;
    } events;

    /** From now on, events are read and dispatched on Qt's event loop. */
    void startReading() { connection_->startReading(); }
    /** Sends the requests made so far now, dispatching nothing: safe inside a callback. */
    void send() { connection_->send(); }
    /** Dispatches the compositor's events (and only those) until done() holds,
     *  at most timeoutMs; false when it does not. Input is handled meanwhile. */
    bool waitUntil(const std::function<bool()>& done, int timeoutMs) { return connection_->waitUntil(done, timeoutMs); }

    const Connection& connection() const { return *connection_; }
    /** True where surfaces go on the layer shell's overlay; false where they are full-screen toplevels. */
    bool hasLayerShell() const { return bool(connection_->globals().layerShell); }
    /** True where the compositor has ordinary windows (xdg toplevels). */
    bool hasWindows() const { return bool(connection_->globals().wmBase); }
    /** True where the compositor can copy what its outputs show. */
    bool hasScreenCopy() const { return canCopyOutputs(*connection_); }
    /** Lets copies be asked of KWin on the session bus where the compositor has no
     *  screen copy protocol; only where the bus runs, or connecting would start one. */
    void allowSessionBus(bool allowed) { sessionBus_ = allowed; }
    /** True where a copy of the outputs can be asked for, of the compositor or of KWin. */
    bool canCopyScreen() const { return hasScreenCopy() || sessionBus_; }
    /** The canvas's size in pixels: every output's pixels fit on it. */
    QSize canvasSize() const { return layout_.size; }
    /** The largest of the outputs' scales: the canvas's pixels per logical unit. */
    int canvasScale() const { return layout_.scale; }
    /** The described outputs, each with its place on the canvas, in the compositor's order. */
    std::vector<PlacedOutput> outputs() const;

    /** Asks for a copy of what every output shows now: of the compositor, else of KWin. */
    void startScreenCopy();
    /** The canvas as the outputs showed it at startScreenCopy (asked for now if it
     *  was not), black where no output is or a copy failed; waits at most timeoutMs,
     *  for KWin's copies with Qt's event loop running (its timers fire meanwhile). */
    QImage screenCopy(int timeoutMs = 2000);

    /** Covers every output (the first time, and each one that comes later)
     *  with its part of frame index of frames. */
    void showFrame(const std::shared_ptr<CanvasFrames>& frames, int index, const QRegion& changed) override;
    bool holdsFrame(int index) const override;
    /** Takes the surfaces away. */
    void hideCanvas();

private:
    explicit Session(std::unique_ptr<Connection> connection);
    bool start(int timeoutMs, QString& error);
    void addOutput(std::uint32_t name, std::uint32_t version);
    void outputDescribed(const Output& output);
    void removeGlobal(std::uint32_t name);
    /** Places the described outputs anew; true when a place or the canvas's size changed. */
    bool relayout();
    bool copiesFinished() const;
    void waitForKWin(int timeoutMs);
    void cover(const Output& output);
    void surfaceShown();
    void surfaceClosed(std::uint32_t outputName);
    std::optional<QPointF> toCanvas(wl_surface* surface, QPointF where) const;
    const Output* outputNamed(std::uint32_t name) const;
    QRect canvasRect(std::uint32_t outputName) const;

    std::unique_ptr<Connection> connection_;
    InputHandlers input_;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::set<std::uint32_t> described_; // outputs reported as come
    std::vector<std::unique_ptr<Seat>> seats_;
    bool started_ = false; // seats bound from now on came after the start
    CanvasLayout layout_;
    std::vector<std::uint32_t> layoutOrder_; // the output of each of layout_'s rectangles
    std::map<std::uint32_t, std::unique_ptr<OutputCopy>> copies_;
    std::map<std::uint32_t, std::unique_ptr<KWinScreenShot>> kwinCopies_;
    std::map<std::uint32_t, QImage> copied_;
    std::function<void()> copyArrived_; // while waiting for KWin's copies
    bool sessionBus_ = false;
    std::map<std::uint32_t, std::unique_ptr<OutputSurface>> surfaces_;
    std::shared_ptr<CanvasFrames> frames_; // shown; null before the first frame
    int front_ = 0; // the frame of frames_ shown
    QObject context_; // for work deferred to the event loop, dropped with the session
};

} // namespace platform::wayland
