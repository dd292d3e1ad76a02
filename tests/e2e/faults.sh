# Faults around a running saver: killed outright, asked to end by a signal,
# two savers started at the same instant, popups that push themselves over
# it; and what must not count as a second saver: one on another display, or
# a hack playing sounds.
# Arguments: PROGRAM INPUT_PROBE DESKTOP_CLIENT HACK
source "$(dirname "$0")/lib.sh"
PROBE="${2:?input_probe}"
CLIENT="${3:?desktop_client}"
HACK="${4:?lilywade}"
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

# Popups that come to the top by themselves while the saver runs, without a
# window manager to stack them: raised (the root sees a child restacked) or
# by circulating the root's children (the lowest covered one comes up). The
# saver is on top again within 500 ms.
top_window() { xwininfo -root -children | awk '/^ +0x/ {print $1; exit}'; }
start_grabbing_saver
FROG=$(printf '0x%x' "$(xdotool search --onlyvisible --name '^frog$')")
saver_on_top() { [ "$(top_window)" = "$FROG" ]; }
for how in raise circulate; do
  "$CLIENT" popup ff00ff 200 150 400 300 "$how" >"$WORK/popup.out" &
  popup=$!
  CHILD_PIDS+=("$popup")
  wait_until 10 grep -q mapped "$WORK/popup.out" || fail "$how: no popup"
  wait_until 5 saver_on_top || fail "$how: a popup mapped over the saver stays on top"
  kill -USR1 "$popup"
  wait_until 5 grep -q raised "$WORK/popup.out" || fail "$how: the popup did not come up"
  since=$(now_ms)
  until saver_on_top; do
    [ $(($(now_ms) - since)) -le 500 ] || fail "$how: the popup still over the saver after 500 ms"
  done
  pass "a popup coming up by itself ($how) is under the saver again within $(($(now_ms) - since)) ms"
  kill "$popup"
done

# A saver on a second display runs beside the first.
start_other_xvfb 640x480
on_other() { DISPLAY="$OTHER_DISPLAY" "$@"; }
on_other start_program /S
OTHER_SAVER=$LAST_PID
wait_until 10 on_other window_exists frog || fail "no saver on a second display beside the first"
running "$SAVER" || fail "the saver on the second display ended the first"
xdotool key a
on_other xdotool key a
wait_until 5 not running "$SAVER" || fail "the first saver survived a key"
wait_until 5 not running "$OTHER_SAVER" || fail "the second saver survived a key"
pass "two displays, a saver on each"

# Hacks with sounds, each with its own sound device: one on each display
# plays (one player per display); and a saver starts beside them.
hack_with_sounds() { # HOME
  mkdir -p "$1/.config/lilywade"
  printf 'pcm.!default { type file slave.pcm { type null } file "|cat >>%s" format "raw" }\n' \
    "$1/captured.raw" >"$1/.asoundrc"
  printf '[Lilywade]\nStartup\\Sound=1\nStartup\\Speed=0\n' >"$1/.config/lilywade/settings.ini"
  HOME="$1" XDG_CONFIG_HOME="$1/.config" "$HACK" >/dev/null 2>>"$WORK/program.err" &
  CHILD_PIDS+=($!)
  wait_until 10 test -s "$1/captured.raw" || fail "a hack on display $DISPLAY played no sound"
}
hack_with_sounds "$WORK/hack-a"
on_other hack_with_sounds "$WORK/hack-b"
pass "a hack on each of two displays plays its sounds"
start_program /S
SAVER=$LAST_PID
wait_until 10 window_exists frog || fail "no saver beside a hack that plays sounds"
pass "a saver starts beside a hack that plays sounds"
xdotool key a
wait_exit "$SAVER" 5
