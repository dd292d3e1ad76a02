# Start-up: unknown modes end at once without a window; a second saver
# leaves the first alone and does not touch the cursor.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600

for argument in x -s /A; do
  start=$(now_ms)
  start_program "$argument"
  wait_exit "$LAST_PID" 1
  [ "$EXIT_STATUS" -eq 0 ] || fail "'$argument' exited with $EXIT_STATUS"
  [ $(( $(now_ms) - start )) -lt 1000 ] || fail "'$argument' took more than a second"
  ! window_exists frog || fail "'$argument' left a window"
  pass "'$argument' ends at once with status 0"
done

# Any top-level window titled "frog" counts as a running saver.
xmessage -name frog -title frog "frog" &
STAND_IN=$!
CHILD_PIDS+=("$STAND_IN")
wait_until 5 window_exists frog || fail "stand-in frog window did not appear"
windows_before=$(xdotool search --onlyvisible --name . | sort)
start_program /S
wait_exit "$LAST_PID" 1
[ "$EXIT_STATUS" -eq 0 ] || fail "second /S exited with $EXIT_STATUS"
[ "$(xdotool search --onlyvisible --name . | sort)" = "$windows_before" ] \
  || fail "second /S mapped a window"
pass "/S with a frog window present exits at once without a window"
