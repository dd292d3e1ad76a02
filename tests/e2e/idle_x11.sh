# lilywade-idle on X11, with --seconds 2: the saver comes 2 s after the last
# input, over the desktop; a key ends it and it comes again after 2 s more;
# XScreenSaverSuspend and an Inhibit on the session bus keep it away until
# they let go; XScreenSaver's daemon keeps it away with one line said; a
# second lilywade-idle leaves at once; SIGTERM ends it and the saver, with
# the server's settings restored; the X server's end ends it.
# Arguments: Lilywade.scr LILYWADE_IDLE IDLE_CLIENT ROOT_PATTERN INPUT_PROBE
source "$(dirname "$0")/lib.sh"
IDLE="${2:?lilywade-idle}" CLIENT="${3:?idle_client}" ROOT_PATTERN="${4:?root_pattern}" PROBE="${5:?input_probe}"

start_xvfb 640x480
patterned_desktop "$ROOT_PATTERN"
DEFAULTS=$(xset q | grep -A2 'Screen Saver')
dbus-daemon --session --nofork --print-address=3 3>"$WORK/bus" >/dev/null 2>&1 &
CHILD_PIDS+=($!)
wait_until 10 test -s "$WORK/bus" || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$WORK/bus")"

start_idle() {
  env "$RUN_MARK" "$IDLE" --seconds 2 >"$WORK/idle.out" 2>"$WORK/program.err" &
  IDLE_PID=$!
  CHILD_PIDS+=("$IDLE_PID")
  wait_until 10 grep -q 'starts' "$WORK/program.err" || fail "lilywade-idle did not start"
}
saver_up() { window_exists frog; }
# A key now; sets INPUT_MS.
key() { xdotool key "${1:-shift}"; INPUT_MS=$(now_ms); }
# The saver comes between 2 s and 2 s + slack after the last input.
expect_saver_after_quiet() {
  wait_until 15 saver_up || fail "$1: no saver"
  local waited=$(($(now_ms) - INPUT_MS))
  [ "$waited" -ge 1900 ] || fail "$1: the saver came ${waited} ms after the last input"
  pass "$1: the saver came ${waited} ms after the last input"
}
expect_no_saver_for() { # SECONDS WHY
  ! wait_until "$1" saver_up || fail "$2: the saver came"
}
# Input ends the saver and the server's own saver: a key, or $1 given as
# xdotool's command.
end_saver_by_input() {
  xdotool ${1:-key a}
  INPUT_MS=$(now_ms)
  wait_until 5 not saver_up || fail "${1:-a key} did not end the saver"
  wait_until 5 eval '[ "$("$CLIENT" state)" = Off ]' || fail "the server's saver stays on after the key"
}

start_idle
key
expect_saver_after_quiet "first idle period"
screenshot "$WORK/saver.png"
# The server's own saver drew nothing: the saver's copy is the desktop, which
# the frogs cover but a little.
changed=$(count "$WORK/saver.png" "$WORK/pattern.png")
[ "$changed" -lt 30000 ] || fail "the saver shows no copy of the desktop ($changed pixels differ)"
pass "the saver shows the desktop ($changed of 307200 pixels differ)"
wait_until 5 grabbed || fail "the saver does not hold the keyboard and the pointer"
end_saver_by_input
expect_saver_after_quiet "after a key"
# The saver takes its first move as the place the pointer rests, and the
# toolkit merges moves that come together: a hand moves over a moment.
end_saver_by_input "mousemove_relative 8 8 sleep 0.2 mousemove_relative 8 8"
expect_saver_after_quiet "after a move"
end_saver_by_input "click 1"

# A second one in the same session says so and leaves.
set +e; "$IDLE" --seconds 2 2>"$WORK/second.err"; status=$?; set -e
[ "$status" = 0 ] && [ "$(wc -l <"$WORK/second.err")" = 1 ] \
  || fail "a second lilywade-idle: status $status, $(cat "$WORK/second.err")"
pass "a second lilywade-idle leaves: $(cat "$WORK/second.err")"

# Something holding the saver away, until it lets go: $1 names it, the rest
# is the idle_client command. Its input ending lets go.
held_away() {
  local what="$1"; shift
  coproc HOLDER { exec "$CLIENT" "$@"; }
  local holder=$HOLDER_PID
  CHILD_PIDS+=("$holder")
  read -r -t 10 -u "${HOLDER[0]}" line && [ "$line" = held ] || fail "$what: the client does not hold"
  key
  expect_no_saver_for 5 "$what"
  pass "$what keeps the saver away"
  exec {HOLDER[1]}>&-
  INPUT_MS=$(now_ms)
  expect_saver_after_quiet "$what let go"
  end_saver_by_input
  kill "$holder" 2>/dev/null || true
  wait "$holder" 2>/dev/null || true
}
held_away "XScreenSaverSuspend" suspend
held_away "Inhibit, then UnInhibit" inhibit
held_away "Inhibit, then the caller's exit" inhibit leave

# SIGTERM while the saver runs: both end, and the server's settings are the user's again.
key
expect_saver_after_quiet "before SIGTERM"
saver_pid=$(marked_processes | awk '/Lilywade.scr/ {print $1}')
kill -TERM "$IDLE_PID"
wait_exit "$IDLE_PID" 5
[ "$EXIT_STATUS" = 0 ] || fail "SIGTERM: status $EXIT_STATUS"
wait_until 5 not saver_up || fail "the saver outlives lilywade-idle"
[ -z "$saver_pid" ] || wait_until 5 not kill -0 "$saver_pid" || fail "the saver process outlives lilywade-idle"
[ "$(xset q | grep -A2 'Screen Saver')" = "$DEFAULTS" ] || fail "the server's settings stay changed: $(xset q)"
pass "SIGTERM ends lilywade-idle (status 0) and its saver; the server's settings are back"
expect_nothing_left

# XScreenSaver's daemon running: nothing started, said once.
USER_HOME="$WORK/nobody"
mkdir -p "$USER_HOME"
printf 'mode: blank\ntimeout: 0:30:00\nlock: False\nsplash: False\n' >"$USER_HOME/.xscreensaver"
chmod 755 "$WORK"; chown -R 65534:65534 "$USER_HOME"
setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$USER_HOME" DISPLAY="$DISPLAY" \
  PATH=/usr/bin:/bin xscreensaver -no-splash >"$WORK/xscreensaver.log" 2>&1 &
XSS_PID=$!
CHILD_PIDS+=("$XSS_PID")
wait_until 10 setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$USER_HOME" \
  DISPLAY="$DISPLAY" xscreensaver-command -time \
  || fail "XScreenSaver did not start: $(cat "$WORK/xscreensaver.log")"
start_idle
for period in 1 2; do
  key
  expect_no_saver_for 5 "XScreenSaver running, idle period $period"
done
said=$(grep -c 'XScreenSaver' "$WORK/program.err" || true)
[ "$said" = 1 ] || fail "said $said times that XScreenSaver runs: $(cat "$WORK/program.err")"
pass "with XScreenSaver running no saver, and one line: $(grep XScreenSaver "$WORK/program.err")"
kill "$XSS_PID"; wait "$XSS_PID" 2>/dev/null || true

# The X server going away ends it with status 0 within 5 s.
kill "$XVFB_PID"; XVFB_PID=""
wait_exit "$IDLE_PID" 5
[ "$EXIT_STATUS" = 0 ] || fail "the X server's end: status $EXIT_STATUS"
pass "the X server's end ends lilywade-idle with status 0"
