# lilywade with no host's window, natively on headless sway (DISPLAY naming
# no X server, as a session whose Xwayland is not running): its own window
# titled "Lilywade", frogs on black, at the size sway gives it, also after a
# resize; the compositor's close and SIGTERM end it with status 0 and the
# desktop shows as before; sway going away ends it with status 1 within 5 s;
# with neither a compositor nor an X display, one line and status 1.
# Arguments: PROGRAM HACK
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
HACK="${2:?lilywade}"

# Two frogs (55 x 55 pixels at most) change no more pixels than this.
FROG_PIXELS=$((2 * 55 * 55))

start_sway
capture "$WORK/before.png"
XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings 30 0 0
chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"

start_hack() {
  start_client hack env DISPLAY=:9371 "$HACK"
  HACK_PID=$LAST_PID
}

# The content of the hack's window on the layout (WxH+X+Y), from sway's tree;
# empty while there is none.
window_area() {
  as_nobody swaymsg -t get_tree | jq -r '.. | objects
    | select((.type? == "con" or .type? == "floating_con") and .name? == "Lilywade" and .app_id? == "lilywade")
    | "\(.window_rect.width)x\(.window_rect.height)+\(.rect.x + .window_rect.x)+\(.rect.y + .window_rect.y)"'
}

# True when the hack's window shows frogs on black: some pixels lit, no more
# than two frogs cover. The capture is in $WORK/now.png, the window's part in
# $WORK/window.png.
frogs_in_window() {
  AREA=$(window_area)
  [ -n "$AREA" ] && capture "$WORK/now.png" || return 1
  crop "$WORK/now.png" "$AREA" "$WORK/window.png"
  local lit; lit=$(convert "$WORK/window.png" -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$lit" -gt 0 ] && [ "$lit" -le "$FROG_PIXELS" ]
}

# True when, outside the hack's window, the layout shows the desktop as before.
desktop_around_window() {
  local w="${AREA%%x*}" rest="${AREA#*x}"; local h="${rest%%+*}" xy="${rest#*+}"
  local x="${xy%+*}" y="${xy#*+}"
  [ "$(differences_outside "$WORK/now.png" "$WORK/before.png" "$x,$y,$((x + w - 1)),$((y + h - 1))")" = 0 ]
}

start_hack
wait_until 10 frogs_in_window || fail "no window with frogs on black: $(tail -3 "$WORK/hack.err")"
pass "the hack's own window \"Lilywade\" shows frogs on black in sway's tile of $AREA"

as_nobody swaymsg '[app_id="lilywade"] floating enable, resize set width 420 px height 300 px' >/dev/null
resized() { frogs_in_window && [ "${AREA%%+*}" = 420x300 ] && desktop_around_window; }
wait_until 10 resized || fail "after a resize to 420x300 the window shows $AREA, or more than its area"
pass "resized to 420x300, the window shows frogs on black in exactly that area"

as_nobody swaymsg '[app_id="lilywade"] kill' >/dev/null
wait_exit "$HACK_PID" 5
[ "$EXIT_STATUS" = 0 ] || fail "the compositor's close: status $EXIT_STATUS, $(tail -3 "$WORK/hack.err")"
pass "the compositor's close ends the hack with status 0"

start_hack
wait_until 10 frogs_in_window || fail "no window the second time"
kill -TERM "$HACK_PID"
wait_exit "$HACK_PID" 3
[ "$EXIT_STATUS" = 0 ] || fail "SIGTERM: status $EXIT_STATUS"
desktop_back() { capture "$WORK/now.png" && [ "$(differing_pixels "$WORK/now.png" "$WORK/before.png")" = 0 ]; }
wait_until 3 desktop_back || fail "the window stays after SIGTERM"
pass "SIGTERM ends the hack with status 0, and the desktop shows as before"

start_hack
wait_until 10 frogs_in_window || fail "no window the third time"
expect_end_when_compositor_goes "$HACK_PID" hack

# The socket is gone with sway, and no X server answers either.
start_hack
wait_exit "$HACK_PID" 5
[ "$EXIT_STATUS" = 1 ] && [ "$(wc -l <"$WORK/hack.err")" = 1 ] && grep -q 'Wayland display' "$WORK/hack.err" \
  && grep -q 'X display' "$WORK/hack.err" || fail "neither display: status $EXIT_STATUS, $(cat "$WORK/hack.err")"
pass "with neither a compositor nor an X display, status 1 and one line: $(cat "$WORK/hack.err")"
