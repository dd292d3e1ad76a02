# The saver (/S), built here, on Debian testing's sway (wlroots 0.20) with two
# outputs and a bar: its snapshot is the desktop as grim saw it just before,
# taken through the standard image copy capture (its Wayland trace creates a
# capture session and never binds wlroots' older screencopy); a key typed at
# once on a keyboard that comes with it in each of 5 tries, a click and a
# 10-pixel move end it with status 0; an output added while it runs is
# covered; on a turned output the snapshot is upright. The compositor and
# grim, wtype, swaymsg run in the testing root.
# Arguments: PROGRAM WAYLAND_POINTER
source "$(dirname "$0")/lib.sh"
LILYWADE_COMPOSITORS=testing
source "$(dirname "$0")/wayland_lib.sh"
POINTER="${2:?wayland_pointer}"
LAYOUT="2304 768" # the layout's size, for the pointer tool's absolute moves
FROG_PIXELS=$((2 * 55 * 55)) # two frogs change no more pixels than this

saver_settings() {
  XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings "$@"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
}
start_saver() { start_client saver "$@" "$PROGRAM" /S; SAVER=$LAST_PID; }
point() {
  start_client pointer "$POINTER" "$@"
  wait_until 10 grep -q '^acted ' "$WORK/pointer.out" || fail "the pointer tool did not act: $(cat "$WORK/pointer.err")"
  ACTED=$(awk '/^acted / {print $2}' "$WORK/pointer.out")
}
# Waits for the saver to end with status 0 by $1, within 5 s of $ACTED.
expect_end_by() {
  wait_until 5 not kill -0 "$SAVER" || fail "$1 did not end the saver"
  wait_exit "$SAVER" 1
  [ "$EXIT_STATUS" = 0 ] || fail "$1: status $EXIT_STATUS"
  ENDED_MS=$(($(now_ms) - ACTED))
}

start_sway
sway_version=$(tool_as_nobody sway --version)
capture "$WORK/before.png"
convert "$WORK/before.png" -fill black -colorize 100 "PNG24:$WORK/black.png"

saver_settings 50 0 0
start_saver env WAYLAND_DEBUG=1
wait_for_frogs_on "$WORK/before.png"
grep -q 'ext_image_copy_capture_manager_v1@[0-9]*\.create_session(' "$WORK/saver.err" \
  || fail "the saver made no image copy capture session"
! grep -q '"zwlr_screencopy_manager_v1"' <(grep 'bind(' "$WORK/saver.err") \
  || fail "the saver bound wlr-screencopy beside the image copy capture"
pass "$sway_version: frogs on the desktop grim saw before, copied through ext-image-copy-capture-v1 only"

point 60000 wait 300 to 640 360 $LAYOUT
HOLDER=$LAST_PID
kill -0 "$SAVER" || fail "the first motion ended the saver"
mv "$WORK/pointer.out" "$WORK/holder.out"
point 100 move 10 0
expect_end_by "a 10-pixel move"
pass "a 10-pixel move ends the saver with status 0 within $ENDED_MS ms"
kill "$HOLDER"

start_saver
wait_for_frogs_on "$WORK/before.png"
point 100 wait 300 to 700 400 $LAYOUT click
expect_end_by "a click"
pass "a click ends the saver with status 0 within $ENDED_MS ms"

# A blank screen shows where the saver covers: both outputs and the bar.
saver_settings 50 0 1
for try in 1 2 3 4 5; do
  start_saver
  wait_for_frogs_on "$WORK/black.png"
  ACTED=$(now_ms)
  type_keys x
  expect_end_by "a key (try $try)"
done
pass "a key typed at once on a keyboard that comes with it ends the saver in each of 5 tries"

start_saver
wait_for_frogs_on "$WORK/black.png"
add_sway_output
wait_until 5 eval 'capture "$WORK/new.png" HEADLESS-3 && all_black "$WORK/new.png"' \
  || fail "the output added while the saver runs is not covered"
kill "$SAVER"
wait_exit "$SAVER" 3
pass "an output added while the saver runs is covered"

# A turned output: the frame's buffer comes as the output's pixels lie, and
# the transform the frame reports puts it upright.
tool_as_nobody swaymsg output HEADLESS-1 transform 90 >/dev/null || fail "sway turned no output"
wait_until 5 eval 'capture "$WORK/turned.png" HEADLESS-1 && [ "$(identify -format %wx%h "$WORK/turned.png")" = 720x1280 ]' \
  || fail "HEADLESS-1 did not turn"
saver_settings 50 0 0
# The turned desktop is drawn once swaybg has drawn it anew: two captures alike.
steady() { cp "$WORK/turned.png" "$WORK/before.png"; capture "$WORK/turned.png" && [ "$(differing_pixels "$WORK/turned.png" "$WORK/before.png")" = 0 ]; }
capture "$WORK/turned.png"
wait_until 5 steady || fail "the turned desktop does not settle"
start_saver
wait_for_frogs_on "$WORK/before.png"
pass "on an output turned by 90 degrees, frogs on the desktop as grim saw it"
