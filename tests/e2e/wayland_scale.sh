# The saver natively on headless sway with HEADLESS-1 at scale 2: the frogs
# take the output's scale, so on its 1280 x 720 pixels each frog is the art
# with every pixel a 2 x 2 block, and its jumps go 120 pixels.
# lilywade's own window there is in logical pixels, which sway doubles: its
# green frog too is the art in 2 x 2 blocks at those landings, not larger.
# Arguments: PROGRAM ART_DIR HACK
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
ART="${2:?sprites/art}"
HACK="${3:?lilywade}"

start_sway
as_nobody swaymsg output HEADLESS-1 scale 2 >/dev/null || fail "sway took no scale"
as_nobody swaymsg output HEADLESS-2 position 640 0 >/dev/null || fail "sway did not move HEADLESS-2"
wait_until 10 eval 'as_nobody swaymsg -t get_outputs | grep -q "\"scale\": 2.0"' || fail "HEADLESS-1 is not at scale 2"
XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings 200 0 0
chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"

prepare_doubled_landings "$ART"
green_landed() { capture "$WORK/now.png" HEADLESS-1 && doubled_green_landed_in "$WORK/now.png"; }

start_client saver "$PROGRAM" /S
SAVER=$LAST_PID
# It starts at (350, 350) in the output's pixels.
wait_until 20 green_landed || fail "the green frog never sat doubled where its first jumps land: $(tail -3 "$WORK/saver.err")"
pass "on an output at scale 2 the green frog is 190 x 190 in 2 x 2 blocks, sitting at ($LANDED) after jumps of 120 pixels"
kill -TERM "$SAVER"
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "SIGTERM: status $EXIT_STATUS"

# The hack's own window on HEADLESS-1; its place on the output, in the output's pixels.
as_nobody swaymsg focus output HEADLESS-1 >/dev/null
start_client hack env DISPLAY=:9371 "$HACK"
HACK_PID=$LAST_PID
window_pixels() {
  as_nobody swaymsg -t get_tree | jq -r '.. | objects | select(.app_id? == "lilywade")
    | "\(2 * .window_rect.width)x\(2 * .window_rect.height)+\(2 * (.rect.x + .window_rect.x))+\(2 * (.rect.y + .window_rect.y))"'
}
green_in_window() {
  AREA=$(window_pixels) && [ -n "$AREA" ] && capture "$WORK/now.png" HEADLESS-1 \
    && crop "$WORK/now.png" "$AREA" "$WORK/window.png" && doubled_green_landed_in "$WORK/window.png"
}
wait_until 20 green_in_window || fail "the own window's green frog never sat doubled where its first jumps land: $(tail -3 "$WORK/hack.err")"
pass "lilywade's own window at scale 2: the green frog is 190 x 190 in 2 x 2 blocks, at ($LANDED) in its window"
kill -TERM "$HACK_PID"
wait_exit "$HACK_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "SIGTERM to the hack: status $EXIT_STATUS"
