# An output that goes away while the saver runs: sway nested in a headless
# sway, its two outputs windows of the outer one (sway 1.7 cannot remove a
# headless output). Closing the window of the inner WL-2 removes that output:
# the saver drops it and goes on over WL-1, frogs moving, and ends on a key.
# The probe beside it (under the saver's surfaces, which are older) reports
# the canvas laid out anew over WL-1 alone, so no frog hops where WL-2 was.
# Arguments: PROGRAM WAYLAND_PROBE
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
PROBE="${2:?wayland_probe}"

start_sway
OUTER_SOCK=$SWAYSOCK
# The inner outputs' windows float, at the sizes the inner sway asks for:
# tiled, WL-1 would grow into WL-2's place as WL-2 goes.
as_nobody swaymsg 'for_window [title="^wlroots - WL-"] floating enable' >/dev/null \
  || fail "the outer sway took no window rule"
cat >"$WL_DIR/inner.conf" <<CONF
output WL-1 resolution 800x600 position 0 0 bg #336699 solid_color
output WL-2 resolution 640x480 position 800 0 bg #996633 solid_color
CONF
chown "$NOBODY:$NOBODY" "$WL_DIR/inner.conf"
nobody_prefix
"${NOBODY_PREFIX[@]}" WLR_BACKENDS=wayland WLR_WL_OUTPUTS=2 WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$WL_DIR/inner.conf" >"$WORK/inner.log" 2>&1 &
CHILD_PIDS+=($!)
inner_socket() { ls "$WL_RUNTIME"/sway-ipc.*.sock 2>/dev/null | grep -vxF "$OUTER_SOCK" | head -n1; }
wait_until 30 eval '[ -n "$(inner_socket)" ]' || fail "the inner sway did not start: $(tail -3 "$WORK/inner.log")"
# From here on the session is the inner sway's.
SWAYSOCK=$(inner_socket)
WAYLAND_DISPLAY=$(find "$WL_RUNTIME" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | sort | tail -n1)
outputs() { as_nobody swaymsg -t get_outputs | grep -c '"name": "WL-' || true; }
wait_until 30 eval '[ "$(outputs)" = 2 ]' || fail "the inner sway has not two outputs"
wait_until 10 capture "$WORK/before.png" WL-1 || fail "no capture of WL-1"

XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings 0 0 0
chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
start_client saver "$PROGRAM" /S
SAVER=$LAST_PID
frogs_on_wl1() {
  capture "$WORK/now.png" WL-1 && [ "$(differing_pixels "$WORK/now.png" "$WORK/before.png")" -gt 0 ]
}
wait_until 10 frogs_on_wl1 || fail "no frogs on WL-1: $(tail -3 "$WORK/saver.err")"
start_client probe "$PROBE"
PROBE_PID=$LAST_PID
wait_until 10 grep -q '^covered ' "$WORK/probe.out" || fail "the probe did not come up: $(cat "$WORK/probe.err")"

SWAYSOCK=$OUTER_SOCK as_nobody swaymsg '[title="wlroots - WL-2"] kill' >/dev/null || fail "the outer sway closed no WL-2"
wait_until 10 eval '[ "$(outputs)" = 1 ]' || fail "WL-2 did not go"
# The frogs go on moving over what is left.
capture "$WORK/first.png" WL-1
moved() { capture "$WORK/now.png" WL-1 && [ "$(differing_pixels "$WORK/now.png" "$WORK/first.png")" -gt 0 ]; }
wait_until 5 moved || fail "the frogs stopped after WL-2 went"
kill -0 "$SAVER" 2>/dev/null || fail "the saver ended when WL-2 went: $(tail -3 "$WORK/saver.err")"
pass "WL-2 went while the saver ran: the frogs go on over WL-1"
probe_said() { grep -qFx "$1" "$WORK/probe.out"; }
wait_until 5 probe_said "layout 800x600 outputs=1" \
  || fail "the canvas was not laid out anew: $(grep -v '^global' "$WORK/probe.out")"
probe_said "went WL-2" || fail "WL-2's going was not reported"
kill -TERM "$PROBE_PID"
wait_exit "$PROBE_PID" 5
pass "the canvas is laid out anew over WL-1 alone"

type_keys a
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "a key: status $EXIT_STATUS"
wait_until 5 eval 'capture "$WORK/after.png" WL-1 && [ "$(differing_pixels "$WORK/after.png" "$WORK/before.png")" = 0 ]' \
  || fail "WL-1 does not show the desktop again"
pass "a key ends it with status 0 and WL-1 shows the desktop again"
