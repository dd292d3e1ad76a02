# Start-up: unknown modes end at once without a window; the saver keeps the
# toolkit's events on the root; a second saver leaves the first alone and
# does not touch the cursor; no mode says anything in a normal run.
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

# Quiet: no mode says anything in a normal run, also without HOME and
# XDG_RUNTIME_DIR (as MATE's saver runs its hacks) and the store's default folder.
HACK="$(dirname "$PROGRAM")/lilywade"
# quiet_run NAME READY END COMMAND...: runs COMMAND bare, waits until READY
# succeeds, ends it with END (a signal, or "key" for a key press).
quiet_run() {
  local name=$1 ready=$2 end=$3; shift 3
  env -u HOME -u XDG_RUNTIME_DIR -u XDG_CONFIG_HOME "$@" >"$WORK/program.out" 2>"$WORK/program.err" &
  local pid=$!
  CHILD_PIDS+=("$pid")
  wait_until 10 eval "$ready" || fail "$name did not come up"
  if [ "$end" = key ]; then xdotool key a; else kill "-$end" "$pid"; fi
  wait_exit "$pid" 5
  [ "$EXIT_STATUS" -eq 0 ] || fail "$name ended with status $EXIT_STATUS"
  [ ! -s "$WORK/program.err" ] || fail "$name wrote to standard error: $(head -3 "$WORK/program.err")"
  pass "$name says nothing, without HOME and XDG_RUNTIME_DIR"
}
kill "$STAND_IN"; wait "$STAND_IN" 2>/dev/null || true
xmessage -name host -title host "host" &
CHILD_PIDS+=($!)
wait_until 5 window_exists host || fail "no host window for the preview"
HOST_ID=$(xdotool search --onlyvisible --name '^host$' | head -n1)
quiet_run "/S" "window_exists frog" key "$PROGRAM" /S
quiet_run "/C" "window_exists 'Lilywade Settings'" TERM "$PROGRAM" /C
quiet_run "/P" "holds_picture $HOST_ID" TERM "$PROGRAM" /P "$HOST_ID"
quiet_run "lilywade" "window_exists Lilywade" TERM "$HACK"
