# Start-up: unknown modes end at once without a window; the saver keeps the
# toolkit's events on the root; a second saver leaves the first alone and
# does not touch the cursor.
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

# The saver watches the root's children on the toolkit's connection: it adds
# its events to those the toolkit selects on the root, never replaces them.
# The settings dialog (/C) watches nothing: with it alone on the server, the
# root's event mask shows the toolkit's.
root_events() { xwininfo -root -events | sed -n '/Someone wants/,/Do not propagate/p' | sed '1d;$d' | sort; }
running_alone() { # MODE TITLE: sets ROOT_EVENTS and ends the program
  start_program "$1"
  wait_until 10 window_exists "$2" || fail "'$1': no window \"$2\""
  ROOT_EVENTS=$(root_events)
  kill "$LAST_PID"
  wait_exit "$LAST_PID" 5
}
running_alone /C "Lilywade Settings"
toolkit=$ROOT_EVENTS
[ -n "$toolkit" ] || fail "the toolkit selects no events on the root"
running_alone /S frog
dropped=$(comm -23 <(echo "$toolkit") <(echo "$ROOT_EVENTS") | xargs)
[ -z "$dropped" ] || fail "with the saver up the root lacks the toolkit's events: $dropped"
pass "the saver keeps the toolkit's events on the root and adds its own"

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
