# lilywade-idle on headless Mutter, through GNOME's idle monitor on the session
# bus (Mutter offers no Wayland idle notifier), with input through Mutter's
# remote-desktop interface: while the user moves the pointer every second no
# saver comes; it comes 2 s after the last input, not before; a key ends it,
# and it comes again 2 s after that key; while GNOME's session manager holds
# an idle inhibitor (a video playing) none comes, and 2 s after it lets go the
# saver comes; Mutter going away ends lilywade-idle with status 0 within 5 s,
# and the saver with it.
# Arguments: PROGRAM GNOME_INPUT LILYWADE_IDLE SESSION_MANAGER
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/gnome_lib.sh"
IDLE_PROGRAM="${3:?lilywade-idle}" SESSION_MANAGER="${4:?session_manager}"
KEY_A=30
write_settings 50 0 0

idle_saver() { pgrep -P "$IDLE" -x Lilywade.scr; }

# The wall clock (ms since the epoch) at which process $1 started: its start
# in clock ticks since boot, put on the clock of the input tool's "acted".
started_at() {
  local up ticks
  read -r up _ </proc/uptime
  ticks=$(cut -d' ' -f22 "/proc/$1/stat")
  echo $(($(now_ms) - 10#${up/./} * 10 + ticks * 1000 / $(getconf CLK_TCK)))
}

# Waits for lilywade-idle's next saver, its pid in $SAVER, and checks that it
# started 2 s after the input at $1 (ms since the epoch): not before 1.9 s
# (the ticks of a start time are 10 ms), not after 3.5 s; SAVER_MS is its
# start from $1.
expect_idle_saver() {
  wait_until 8 idle_saver || fail "no saver within 8 s of the last input: $(grep '^lilywade-idle:' "$WORK/idle.err" | tail -3)"
  SAVER=$(idle_saver)
  SAVER_MS=$(($(started_at "$SAVER") - $1))
  [ "$SAVER_MS" -ge 1900 ] || fail "the saver came $SAVER_MS ms after the last input, before the 2 s"
  [ "$SAVER_MS" -le 3500 ] || fail "the saver came $SAVER_MS ms after the last input, 1.5 s late"
}

# The saver's windows log their Wayland events into lilywade-idle's standard
# error (it passes its channels on): a key is pressed once a window has the
# keyboard, as a user presses it once the frogs show.
keyboard_entered() { [ "$(grep -c 'wl_keyboard@[0-9]*\.enter(' "$WORK/idle.err")" -gt "$1" ]; }
wait_for_keyboard() {
  wait_until 10 keyboard_entered "$1" || fail "the saver never got the keyboard"
}

start_mutter
start_input
# The session is not idle when lilywade-idle starts: no saver at once.
input move 1 0
WAYLAND_DEBUG=client "$IDLE_PROGRAM" --seconds 2 </dev/null >"$WORK/idle.out" 2>"$WORK/idle.err" &
IDLE=$!
CHILD_PIDS+=("$IDLE")
wait_until 10 grep -qF "GNOME's idle monitor (Mutter)" "$WORK/idle.err" \
  || fail "lilywade-idle does not say it watches Mutter's idle monitor: $(grep '^lilywade-idle:' "$WORK/idle.err" | tail -3)"

for _ in 1 2 3; do
  sleep 1 # the user's pace: a move each second, within the 2 s
  input move 1 0
  ! idle_saver >/dev/null || fail "a saver came while the pointer moved every second"
done
expect_idle_saver "$ACTED"
pass "no saver while the pointer moves every second; it comes $SAVER_MS ms after the last move"

FIRST=$SAVER
wait_for_keyboard 0
ENTERS=$(grep -c 'wl_keyboard@[0-9]*\.enter(' "$WORK/idle.err")
input key $KEY_A
wait_until 5 not kill -0 "$FIRST" || fail "a key did not end the saver"
expect_idle_saver "$ACTED"
pass "a key ends the saver; it comes again $SAVER_MS ms after the key"

# The session manager's stand-in, told what to do through a pipe.
session_manager() { # COMMAND
  echo "$1" >&"$MANAGER_FD"
  wait_until 5 grep -qx "$1" "$WORK/manager.out" || fail "the session manager did not $1: $(cat "$WORK/manager.err")"
}
mkfifo "$WORK/manager.fifo"
"$SESSION_MANAGER" <"$WORK/manager.fifo" >"$WORK/manager.out" 2>"$WORK/manager.err" &
CHILD_PIDS+=($!)
exec {MANAGER_FD}>"$WORK/manager.fifo"
rm "$WORK/manager.fifo"
wait_until 10 grep -q '^ready' "$WORK/manager.out" || fail "no session manager: $(cat "$WORK/manager.err")"
session_manager hold
wait_for_keyboard "$ENTERS"
ENTERS=$(grep -c 'wl_keyboard@[0-9]*\.enter(' "$WORK/idle.err")
input key $KEY_A
wait_until 5 not kill -0 "$SAVER" || fail "a key did not end the saver"
! wait_until 4 idle_saver || fail "a saver came while the session manager held an idle inhibitor"
before=$(now_ms)
session_manager release
expect_idle_saver "$before"
pass "no saver while the session manager holds an idle inhibitor (4 s of a 2 s timeout); it comes $SAVER_MS ms after the release"

wait_for_keyboard "$ENTERS"
gone=$(now_ms)
kill "$COMPOSITOR_PID"
wait_exit "$IDLE" 5
[ "$EXIT_STATUS" = 0 ] || fail "Mutter gone: lilywade-idle ended with status $EXIT_STATUS"
wait_until 5 not kill -0 "$SAVER" || fail "the saver still runs after lilywade-idle ended"
pass "Mutter going away ends lilywade-idle with status 0 after $(($(now_ms) - gone)) ms, and its saver"
