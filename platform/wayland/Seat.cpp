#include "platform/wayland/Seat.h"

#include <linux/input-event-codes.h>
#include <unistd.h>

namespace platform::wayland {

namespace {

Seat& self(void* data) { return *static_cast<Seat*>(data); }
QPointF point(wl_fixed_t x, wl_fixed_t y) { return {wl_fixed_to_double(x), wl_fixed_to_double(y)}; }

void seatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) { self(data).onCapabilities(capabilities); }
void seatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener = {seatCapabilities, seatName};

void pointerEnter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    self(data).onEnter(serial, surface, point(x, y));
}
void pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*) { self(data).onLeave(); }
void pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    self(data).onMotion(point(x, y));
}
void pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button, std::uint32_t state)
{
    self(data).onButton(button, state);
}
void pointerAxis(void* data, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) { self(data).onAxis(); }
void pointerFrame(void*, wl_pointer*) {}
void pointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
void pointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void pointerAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
void pointerAxisValue120(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
const wl_pointer_listener pointerListener = {pointerEnter,      pointerLeave,    pointerMotion,
                                             pointerButton,     pointerAxis,     pointerFrame,
                                             pointerAxisSource, pointerAxisStop, pointerAxisDiscrete,
                                             pointerAxisValue120};

// The keymap comes as a file descriptor that is ours to close; keys are
// reported by code, so the map itself is not needed, only its coming.
void keyboardKeymap(void* data, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t)
{
    close(fd);
    self(data).onKeymap();
}
void keyboardEnter(void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array* keys)
{
    self(data).onKeyboardEnter({static_cast<const std::uint32_t*>(keys->data), keys->size / sizeof(std::uint32_t)});
}
void keyboardLeave(void* data, wl_keyboard*, std::uint32_t, wl_surface*) { self(data).onKeyboardLeave(); }
void keyboardKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state)
{
    self(data).onKey(key, state);
}
// A modifier's own key event reports its press; its state alone is no news.
void keyboardModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                       std::uint32_t)
{
}
void keyboardRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener keyboardListener = {keyboardKeymap, keyboardEnter,     keyboardLeave,
                                               keyboardKey,    keyboardModifiers, keyboardRepeatInfo};

} // namespace

Seat::Seat(const Connection& connection, std::uint32_t globalName, std::uint32_t version,
           const InputHandlers& handlers, bool boundAtStart)
    : globalName_(globalName),
      handlers_(handlers),
      seat_(static_cast<wl_seat*>(
          wl_registry_bind(connection.registry(), globalName, &wl_seat_interface, std::min(version, 5u)))),
      boundAtStart_(boundAtStart)
{
    wl_seat_add_listener(seat_.get(), &seatListener, this);
}

void Seat::onCapabilities(std::uint32_t capabilities)
{
    const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (pointer && !pointer_) {
        pointer_.reset(wl_seat_get_pointer(seat_.get()));
        wl_pointer_add_listener(pointer_.get(), &pointerListener, this);
    } else if (!pointer && pointer_) {
        pointer_.reset();
        focus_ = nullptr;
    }
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (keyboard && !keyboard_) {
        // The seat's first capabilities are what it had when bound.
        presses_.emplace(boundAtStart_ && !capabilitiesSeen_);
        keyboard_.reset(wl_seat_get_keyboard(seat_.get()));
        wl_keyboard_add_listener(keyboard_.get(), &keyboardListener, this);
    } else if (!keyboard && keyboard_) {
        const bool pressed = presses_->goneUnheard();
        keyboard_.reset();
        presses_.reset();
        if (pressed)
            reportKey(KEY_UNKNOWN);
    }
    capabilitiesSeen_ = true;
}

void Seat::onEnter(std::uint32_t serial, wl_surface* surface, QPointF where)
{
    // No cursor over any of our surfaces: a null surface hides it. An enter
    // is no move: a surface mapped under a resting pointer gets one too.
    wl_pointer_set_cursor(pointer_.get(), serial, nullptr, 0, 0);
    focus_ = surface;
    position_ = where;
}

void Seat::onMotion(QPointF where)
{
    position_ = where;
    if (const std::optional<QPointF> at = canvasPoint(where); at && handlers_.pointerMoved)
        handlers_.pointerMoved(*at);
}

void Seat::onButton(std::uint32_t button, std::uint32_t state)
{
    if (state != WL_POINTER_BUTTON_STATE_PRESSED || !handlers_.buttonPressed)
        return;
    if (const std::optional<QPointF> at = canvasPoint(position_))
        handlers_.buttonPressed(button, *at);
}

void Seat::onAxis()
{
    if (const std::optional<QPointF> at = canvasPoint(position_); at && handlers_.wheelTurned)
        handlers_.wheelTurned(*at);
}

void Seat::onKeyboardEnter(std::span<const std::uint32_t> held)
{
    for (const std::uint32_t key : presses_->enter(held))
        reportKey(key);
}

void Seat::onKey(std::uint32_t key, std::uint32_t state)
{
    if (presses_->key(key, state == WL_KEYBOARD_KEY_STATE_PRESSED))
        reportKey(key);
}

void Seat::reportKey(std::uint32_t key)
{
    if (handlers_.keyPressed)
        handlers_.keyPressed(key);
}

std::optional<QPointF> Seat::canvasPoint(QPointF where) const
{
    if (!focus_ || !handlers_.toCanvas)
        return std::nullopt;
    return handlers_.toCanvas(focus_, where);
}

} // namespace platform::wayland
