# On a desktop: two monitors, openbox, a panel that keeps itself above other
# windows. The saver covers both monitors with the ground, nothing the panel
# or a popup shows reaches the screen, and the window follows the screen's size.
# Arguments: PROGRAM INPUT_PROBE ROOT_PATTERN DESKTOP_CLIENT
source "$(dirname "$0")/lib.sh"
PROBE="${2:?input_probe}"
ROOT_PATTERN="${3:?root_pattern}"
CLIENT="${4:?desktop_client}"
start_xvfb 2560x1024
two_monitors 2560 1024
patterned_desktop "$ROOT_PATTERN"
start_openbox

# The panel is green, magenta once told (SIGUSR1), and raises itself then.
"$CLIENT" panel 00ff00 ff00ff >"$WORK/panel.out" &
PANEL=$!
CHILD_PIDS+=("$PANEL")
wait_until 10 grep -q mapped "$WORK/panel.out" || fail "no panel"
screenshot "$WORK/desktop.png"

# Pixels of colour $2 in image $1.
count_colour() {
  convert "$1" -fill black +opaque "#$2" -fill white -opaque "#$2" -format '%[fx:int(mean*w*h+0.5)]' info:
}
# Pixels of image $1 that differ from the desktop, in the left or right half ($2).
differing() {
  local crop=1280x1024+0+0
  [ "$2" = right ] && crop=1280x1024+1280+0
  convert "$1" -crop "$crop" +repage "$WORK/half.png"
  convert "$WORK/desktop.png" -crop "$crop" +repage "$WORK/desktop-half.png"
  compare -metric AE "$WORK/half.png" "$WORK/desktop-half.png" null: 2>&1 || true
}

write_settings 50 0 0
start_grabbing_saver
geometry=$(xwininfo -name frog | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} /Override Redirect State/ {o=$4} END {print x "," y "," w "," h "," o}')
[ "$geometry" = "0,0,2560,1024,yes" ] || fail "the saver window is $geometry, not the whole root"
pass "the saver window covers both monitors, outside the window manager's stacking"

kill -USR1 "$PANEL"
wait_until 5 grep -q recoloured "$WORK/panel.out" || fail "the panel did not change colour"
# A few jumps (Speed 50: a jump takes about half a second), looked at as they go.
for shot in 1 2 3; do
  screenshot "$WORK/saver-$shot.png"
  [ "$(count_colour "$WORK/saver-$shot.png" ff00ff)" -eq 0 ] \
    || fail "the panel's new colour shows over the saver (capture $shot)"
  for half in left right; do
    # Two frogs cover at most 2 x 95 x 95 pixels.
    [ "$(differing "$WORK/saver-$shot.png" "$half")" -le 18050 ] \
      || fail "the $half monitor does not show the ground (capture $shot)"
  done
  sleep 0.4 # a duration: the frogs jump on meanwhile
done
pass "both monitors show the ground with the frogs; the panel stays below"

"$CLIENT" popup ff00ff 1000 300 400 300 >"$WORK/popup.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q mapped "$WORK/popup.out" || fail "no popup"
mapped=$(now_ms)
until [ "$("$CLIENT" pixel 1200 450)" != ff00ff ]; do
  [ $(($(now_ms) - mapped)) -le 500 ] || fail "the popup still shows 500 ms after it was mapped"
done
covered=$(($(now_ms) - mapped))
sleep 0.2 # a duration: long enough for the popup to come back, if it would
[ "$("$CLIENT" pixel 1200 450)" != ff00ff ] || fail "the popup came back"
pass "a popup mapped over the saver is covered within ${covered} ms"

xdotool key a
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS"
wait_until 5 not grabbed || fail "grabs still held after the end"
pass "a key ends it and gives the input back"

# The screen grows while the saver runs (a monitor added): Xvfb takes sizes up
# to the one it started with.
xrandr --fb 2000x1024 >/dev/null 2>&1 || true
wait_until 5 eval '[ "$(xdpyinfo | awk "/dimensions:/ {print \$2}")" = 2000x1024 ]' \
  || fail "the screen did not shrink"
write_settings 50 0 1
start_grabbing_saver
xrandr --fb 2560x1024 >/dev/null 2>&1 || true
wait_until 5 eval '[ "$(xwininfo -name frog | awk "/Width:/ {print \$2}")" = 2560 ]' \
  || fail "the saver window did not follow the screen to 2560 pixels"
screenshot "$WORK/grown.png"
convert "$WORK/grown.png" -crop 560x1024+2000+0 "$WORK/new-area.png"
[ "$(count_colour "$WORK/new-area.png" 000000)" -ge $((560 * 1024 - 18050)) ] \
  || fail "the new area of the screen is not black"
kill -0 "$SAVER" || fail "the saver ended when the screen grew"
xdotool key a
wait_exit "$SAVER" 5
pass "the saver window follows the screen as it grows; the new area is black"
