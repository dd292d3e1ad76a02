#pragma once
// One seat: its pointer and keyboard as the compositor adds and drops them,
// the cursor hidden over every surface, and presses and moves reported.

#include "platform/wayland/Connection.h"
#include "platform/wayland/KeyboardPresses.h"

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
    /** boundAtStart: the seat was there when the program started, so keys
     *  held on the keyboard it had then are no presses until released. */
    Seat(const Connection& connection, std::uint32_t globalName, std::uint32_t version,
         const InputHandlers& handlers, bool boundAtStart);
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
    void onKeymap() { presses_->keymap(); }
    void onKeyboardEnter(std::span<const std::uint32_t> held);
    void onKeyboardLeave() { presses_->leave(); }
    void onKey(std::uint32_t key, std::uint32_t state);

private:
    std::optional<QPointF> canvasPoint(QPointF where) const;
    void reportKey(std::uint32_t key);

    std::uint32_t globalName_;
    const InputHandlers& handlers_;
    WlPtr<wl_seat> seat_;
    WlPtr<wl_pointer> pointer_;
    WlPtr<wl_keyboard> keyboard_;
    std::optional<KeyboardPresses> presses_; // of keyboard_
    bool boundAtStart_;
    bool capabilitiesSeen_ = false;
    wl_surface* focus_ = nullptr;
    QPointF position_;
};

} // namespace platform::wayland
