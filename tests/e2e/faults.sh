# Faults around a running saver: killed outright, asked to end by a signal,
# and two savers started at the same instant.
# Arguments: PROGRAM INPUT_PROBE
source "$(dirname "$0")/lib.sh"
PROBE="${2:?input_probe}"
start_xvfb 800x600

mkdir -p "$XDG_CONFIG_HOME/lilywade"
printf '[Lilywade]\nStartup\\Speed=10\n' >"$XDG_CONFIG_HOME/lilywade/settings.ini"

running() { kill -0 "$1" 2>/dev/null; }
frog_windows() { xdotool search --onlyvisible --name '^frog$' 2>/dev/null | wc -l; }

input_is_free() { # WHAT
  "$PROBE" grab >/dev/null || fail "$1: another client cannot grab the keyboard and pointer"
  [ "$(cursor_pixels)" -gt 0 ] || fail "$1: the cursor is not shown"
}

# Killed outright: the X server gives the keyboard, pointer and cursor back.
start_grabbing_saver
kill -KILL "$SAVER"
wait_exit "$SAVER" 5
input_is_free "SIGKILL"
pass "after SIGKILL the cursor shows and the keyboard is free at once"

# Asked to end: the saver restores the cursor itself and exits with 0.
for signal in TERM INT HUP; do
  start_grabbing_saver
  kill -"$signal" "$SAVER"
  wait_exit "$SAVER" 5
  [ "$EXIT_STATUS" -eq 0 ] || fail "SIG$signal: status $EXIT_STATUS"
  input_is_free "SIG$signal"
  pass "SIG$signal ends the saver with status 0, cursor and keyboard free"
done

# Two savers at the same instant: exactly one window, the other process ends.
both_running() { running "$first" && running "$second"; }
either_running() { running "$first" || running "$second"; }
for round in 1 2 3; do
  "$PROGRAM" /S 2>>"$WORK/program.err" & first=$!
  "$PROGRAM" /S 2>>"$WORK/program.err" & second=$!
  CHILD_PIDS+=("$first" "$second")
  wait_until 10 window_exists frog || fail "round $round: no saver window"
  wait_until 5 not both_running || fail "round $round: both savers still running"
  # The saver left grabs the input only once its window is up, and the other
  # has ended: no saver window can come after this.
  wait_until 10 grabbed || fail "round $round: the saver left does not hold the input"
  [ "$(frog_windows)" -eq 1 ] || fail "round $round: $(frog_windows) saver windows"
  xdotool key a
  wait_until 5 not either_running || fail "round $round: a saver survived the key"
done
pass "two /S started at once leave exactly one saver window"
