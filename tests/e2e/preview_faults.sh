# Preview faults: the root window's id, another client's top-level window,
# and a host that reparents its preview area or takes the picture away. No
# X error may end the program or be printed; it ends quietly with status 0
# once the picture is no longer inside the window it was given.
# Arguments: PROGRAM HOST_WINDOW
source "$(dirname "$0")/lib.sh"
HOST_TOOL="${2:?host_window}"
start_xvfb 640x480

ended() { ! kill -0 "$1" 2>/dev/null || grep -q '^State:.*Z' "/proc/$1/status"; }
expect_quiet_end() { # WHAT SECONDS
  wait_exit "$LAST_PID" "$2"
  [ "$EXIT_STATUS" -eq 0 ] || fail "$1: status $EXIT_STATUS"
  [ ! -s "$WORK/program.err" ] || fail "$1: printed $(cat "$WORK/program.err")"
  pass "$1: ends quietly with status 0"
}
expect_running() { # WHAT
  # A duration, not a state: the preview checks its window every 400 ms and
  # must not end while the window is there; a second covers a few checks.
  sleep 1
  ended "$LAST_PID" && fail "$1: the preview ended while its window is there"
  return 0
}
children_of() { xwininfo -id "$1" -children | awk '/^ +0x/ {print $1}'; }

# The root window is no preview window: nothing is embedded, first check ends.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
screenshot "$WORK/before.png"
start_program /P "$((root))"
expect_quiet_end "the root window's id" 5
screenshot "$WORK/after.png"
compare -metric AE "$WORK/before.png" "$WORK/after.png" null: 2>/dev/null \
  || fail "the root window's id changed the screen"

# Another client's top-level window hosts the still until it goes away.
xmessage -name other -title other -geometry 300x200+50+50 "another client" &
other_pid=$!; CHILD_PIDS+=("$other_pid")
wait_until 10 window_exists other || fail "xmessage did not appear"
other=$(xdotool search --onlyvisible --name '^other$' | head -n1)
start_program /P "$other"
wait_until 10 holds_picture "$other" || fail "the picture did not arrive in another client's window"
expect_running "another client's window"
kill "$other_pid"
expect_quiet_end "another client's window closed" 5

# A host that moves its preview area into another of its windows keeps the
# preview; one that takes the picture out of the area ends it.
coproc HOST { exec "$HOST_TOOL" 200 150; }
CHILD_PIDS+=("$HOST_PID")
read -r -t 10 -u "${HOST[0]}" area || fail "no id from the test host"
xmessage -name shelf -title shelf -geometry 300x200+300+200 "shelf" &
CHILD_PIDS+=($!)
wait_until 10 window_exists shelf || fail "second window did not appear"
shelf=$(xdotool search --onlyvisible --name '^shelf$' | head -n1)
start_program /P "$area"
wait_until 10 holds_picture "$area" || fail "the picture did not arrive in the preview area"
xdotool windowreparent "$area" "$shelf"
expect_running "preview area reparented by its host"
picture=$(children_of "$area" | head -n1)
xdotool windowreparent "$picture" "$shelf"
expect_quiet_end "picture taken out of the preview area" 5
