# Under a window manager (openbox) the saver window still covers the whole
# screen, has no frame, holds the input, and a key ends it.
# Arguments: PROGRAM INPUT_PROBE
source "$(dirname "$0")/lib.sh"
PROBE="${2:?input_probe}"
start_xvfb 800x600
openbox --sm-disable >/dev/null 2>&1 &
CHILD_PIDS+=($!)
wait_until 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" \
  || fail "openbox did not start"
xmessage -name other -title other -geometry +50+50 "another window" &
CHILD_PIDS+=($!)
wait_until 10 window_exists other || fail "xmessage did not appear"

start_program /S
wait_until 10 window_exists frog || fail "no saver window"
wait_until 10 grabbed || fail "the saver does not hold the keyboard and the pointer"
saver_geometry() {
  xwininfo -name frog | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x "," y "," w "," h}'
}
# The window manager may place the window before it applies the full-screen
# state: give it a moment to settle.
wait_until 5 bash -c "[ \"\$($(declare -f saver_geometry); saver_geometry)\" = 0,0,800,600 ]" \
  || fail "the saver window is at $(saver_geometry) under a window manager"
pass "under openbox the saver covers 0,0,800,600 and holds the input"
xdotool key a
wait_exit "$LAST_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS"
"$PROBE" grab >/dev/null || fail "grabs still held after the end"
pass "a key ends it with status 0"
