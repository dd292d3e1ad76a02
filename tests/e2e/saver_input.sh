# Ending the saver: while it runs it holds the keyboard and the pointer and
# the cursor is hidden; any key (a modifier alone too), a click, or a move of
# 4 pixels ends it with status 0, a move of 3 pixels does not; afterwards
# the grabs are free and the cursor is back. A second saver ends at once.
# Arguments: PROGRAM INPUT_PROBE
source "$(dirname "$0")/lib.sh"
PROBE="${2:?input_probe}"
start_xvfb 800x600

mkdir -p "$XDG_CONFIG_HOME/lilywade"
printf '[Lilywade]\nStartup\\Speed=0\n' >"$XDG_CONFIG_HOME/lilywade/settings.ini"


# Another client's window has the focus when the saver starts.
xmessage -name other -title other -geometry +10+10 "another window" &
CHILD_PIDS+=($!)
wait_until 10 window_exists other || fail "xmessage did not appear"
xdotool search --onlyvisible --name '^other$' windowfocus --sync

start_saver() {
  start_grabbing_saver
  [ "$(cursor_pixels)" = 0 ] || fail "cursor visible over the saver"
}

expect_end() { # WHAT
  wait_exit "$SAVER" 10
  [ "$EXIT_STATUS" -eq 0 ] || fail "$1: status $EXIT_STATUS"
  "$PROBE" grab >/dev/null || fail "$1: grabs still held after the end"
  [ "$(cursor_pixels)" -gt 0 ] || fail "$1: cursor not restored"
  pass "$1 ends the saver with status 0, releases the grabs and restores the cursor"
}

for key in a shift Control_L; do
  start_saver
  xdotool key "$key"
  expect_end "key $key"
done

start_saver
xdotool click 3
expect_end "a click"

# A second saver finds the first by its window and ends at once.
start_saver
start_program /S
wait_exit "$LAST_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "second /S exited with $EXIT_STATUS"
kill -0 "$SAVER" || fail "the second /S ended the first"
pass "a second /S ends at once and leaves the first running"

# Moves: the first event only records the place; 3 pixels on both axes are
# not enough; 4 pixels are. The frogs draw on between the events, which
# shows they have been handled.
frames_go_on() {
  screenshot "$WORK/a.png"
  wait_until 5 bash -c "xwd -root -silent | convert xwd:- png:$WORK/b.png \
    && ! compare -metric AE $WORK/a.png $WORK/b.png null: 2>/dev/null"
}
xdotool mousemove 401 300
frames_go_on || fail "the frogs stopped after the first move"
xdotool mousemove 404 303
frames_go_on || fail "the frogs stopped after a 3-pixel move"
frames_go_on || fail "the frogs stopped after a 3-pixel move"
kill -0 "$SAVER" || fail "a 3-pixel move ended the saver"
pass "a move of 3 pixels does not end the saver"
xdotool mousemove 408 303
expect_end "a 4-pixel move"
