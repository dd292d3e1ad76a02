# Start-up: unknown modes end at once without a window; a second saver
# leaves the first alone and does not touch the cursor.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600
# "At once" on a loaded machine: the bound only catches a program that waits
# for something; the time taken is printed.
AT_ONCE_MS=3000

for argument in x -s /A; do
  start=$(now_ms)
  start_program "$argument"
  wait_exit "$LAST_PID" 5
  elapsed=$(( $(now_ms) - start ))
  [ "$EXIT_STATUS" -eq 0 ] || fail "'$argument' exited with $EXIT_STATUS"
  [ "$elapsed" -lt "$AT_ONCE_MS" ] || fail "'$argument' took ${elapsed} ms"
  ! window_exists frog || fail "'$argument' left a window"
  pass "'$argument' ends at once (${elapsed} ms) with status 0"
done

# Any top-level window titled "frog" counts as a running saver.
xmessage -name frog -title frog "frog" &
STAND_IN=$!
CHILD_PIDS+=("$STAND_IN")
wait_until 5 window_exists frog || fail "stand-in frog window did not appear"
windows_before=$(xdotool search --onlyvisible --name . | sort)
start=$(now_ms)
start_program /S
wait_exit "$LAST_PID" 5
elapsed=$(( $(now_ms) - start ))
[ "$EXIT_STATUS" -eq 0 ] || fail "second /S exited with $EXIT_STATUS"
[ "$elapsed" -lt "$AT_ONCE_MS" ] || fail "second /S took ${elapsed} ms"
[ "$(xdotool search --onlyvisible --name . | sort)" = "$windows_before" ] \
  || fail "second /S mapped a window"
pass "/S with a frog window present exits at once (${elapsed} ms) without a window"
