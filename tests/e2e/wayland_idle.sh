# The saver as an idle daemon starts it on headless sway: swayidle runs
# "Lilywade.scr /S" as the README writes it after its timeout, the saver
# covers both outputs with the frogs on their snapshot, and a key ends it
# with the outputs showing as before. At Speed 0 a frog reaches the second
# output. (sway 1.7 cannot disable or remove a headless output: "output
# HEADLESS-2 disable" fails to commit and the output stays, so an output
# going while the saver runs is not tested here.)
# Arguments: PROGRAM
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"

FROG_PIXELS=$((2 * 55 * 55))

start_sway
capture "$WORK/before.png"
capture "$WORK/before-2.png" HEADLESS-2
XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings 0 0 0
chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"

# True when capture $1 (of output $2, or the layout) differs from $3 in a few
# pixels, no more than two frogs cover.
frogs_on() {
  capture "$WORK/now.png" "${2:-}" || return 1
  local differing; differing=$(differing_pixels "$WORK/now.png" "$1")
  [ "$differing" -gt 0 ] && [ "$differing" -le "$FROG_PIXELS" ]
}
desktop_back() { capture "$WORK/now.png" && [ "$(differing_pixels "$WORK/now.png" "$WORK/before.png")" = 0 ]; }

# The saver swayidle started: the Lilywade.scr among swayidle's descendants.
saver_of_idle() {
  local child
  for child in $(pgrep -P "$IDLE"); do
    [ "$(cat "/proc/$child/comm" 2>/dev/null)" = Lilywade.scr ] && { echo "$child"; return 0; }
    pgrep -P "$child" -x Lilywade.scr && return 0
  done
  return 1
}

started=$(now_ms)
start_client idle swayidle -w timeout 1 "$PROGRAM /S"
IDLE=$LAST_PID
wait_until 10 saver_of_idle || fail "swayidle started no saver: $(tail -3 "$WORK/idle.err")"
SAVER=$(saver_of_idle)
wait_until 10 frogs_on "$WORK/before.png" || fail "no frogs on the snapshot after swayidle's timeout"
pass "swayidle's timeout starts /S, frogs on the snapshot $(($(now_ms) - started)) ms after swayidle's start"

# At Speed 0 the frogs hop across the whole layout; both start on HEADLESS-1.
# Each jump's target is random over the canvas's width, HEADLESS-2 holding
# 44% of it, so a run with no frog there within 25 s is most unlikely.
wait_until 25 frogs_on "$WORK/before-2.png" HEADLESS-2 || fail "no frog came to HEADLESS-2 within 25 s"
pass "a frog reached HEADLESS-2 $(($(now_ms) - started)) ms after the start"

# swayidle would start the saver again at its next timeout.
kill "$IDLE"
type_keys x
wait_until 5 not kill -0 "$SAVER" || fail "a key did not end the saver"
wait_until 3 desktop_back || fail "the outputs do not show as before after the key"
pass "a key ends the saver swayidle started, and the outputs show as before"

