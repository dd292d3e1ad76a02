#pragma once
// One seat: its pointer and keyboard as the compositor adds and drops them,
// the cursor hidden over every surface, and presses and moves reported.

#include "platform/wayland/Connection.h"

#include <QPointF>
#include <functional>
#include <optional>

namespace platform::wayland {

/** What a seat reports, shared by every seat of a session. */
struct InputHandlers {
    /** Where a point of one of our surfaces (in its units) is on the canvas; none for another surface. */
    std::function<std::optional<QPointF>(wl_surface*, QPointF)> toCanvas;
    /** A key went down (a Linux input event code; modifiers are keys too). */
    std::function<void(std::uint32_t key)> keyPressed;
    /** A button went down (a Linux input event code) with the pointer at a canvas point. */
    std::function<void(std::uint32_t button, QPointF where)> buttonPressed;
    /** The pointer moved over one of our surfaces, to a canvas point. */
    std::function<void(QPointF where)> pointerMoved;
    /** A wheel turned or a touchpad scrolled with the pointer at a canvas point. */
    std::function<void(QPointF where)> wheelTurned;
};

/** A seat and the pointer and keyboard it has now. */
class Seat {
public:
    Seat(const Connection& connection, std::uint32_t globalName, std::uint32_t version,
         const InputHandlers& handlers);
    Seat(const Seat&) = delete;
    Seat& operator=(const Seat&) = delete;

    std::uint32_t globalName() const { return globalName_; }
    bool hasPointer() const { return bool(pointer_); }
    bool hasKeyboard() const { return bool(keyboard_); }

    void onCapabilities(std::uint32_t capabilities);
    void onEnter(std::uint32_t serial, wl_surface* surface, QPointF where);
    void onLeave() { focus_ = nullptr; }
    void onMotion(QPointF where);
    void onButton(std::uint32_t button, std::uint32_t state);
    void onAxis();
    void onKey(std::uint32_t key, std::uint32_t state);

private:
    std::optional<QPointF> canvasPoint(QPointF where) const;

    std::uint32_t globalName_;
    const InputHandlers& handlers_;
    WlPtr<wl_seat> seat_;
    WlPtr<wl_pointer> pointer_;
    WlPtr<wl_keyboard> keyboard_;
    wl_surface* focus_ = nullptr;
    QPointF position_;
};

} // namespace platform::wayland
