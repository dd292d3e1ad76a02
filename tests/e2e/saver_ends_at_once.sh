# Input ends the saver at once: while another client still holds the keyboard
# (a click ends it; once the other client lets go, the saver holds the
# keyboard within 500 ms, takes the focus, and a key ends it), and in the
# middle of a jump at the slowest speed with sounds on (a key or a click ends
# the process within 300 ms, the pause or the sound cut short, even a sound
# of two seconds).
# Arguments: PROGRAM INPUT_PROBE DESKTOP_CLIENT
source "$(dirname "$0")/lib.sh"
PROBE="${2:?input_probe}"
CLIENT="${3:?desktop_client}"
start_xvfb 1024x768
xdotool mousemove 500 400

# True while another client than the probe holds the keyboard.
keyboard_held() { [[ "$("$PROBE" grab || true)" == *keyboard=1* ]]; }

# Starts a client that holds the keyboard for $1 ms, then the saver.
saver_after_keyboard_holder() {
  "$CLIENT" hold-keyboard "$1" >"$WORK/holder.out" &
  HOLDER=$!
  CHILD_PIDS+=("$HOLDER")
  wait_until 10 grep -q held "$WORK/holder.out" || fail "the other client got no keyboard grab"
  start_program /S
  SAVER=$LAST_PID
  wait_until 10 window_exists frog || fail "no saver window"
}

write_settings 50 0 0
saver_after_keyboard_holder 2000
xdotool click 1
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS after a click"
grep -q released "$WORK/holder.out" && fail "the click was only seen after the other client let go"
pass "a click ends the saver while another client holds the keyboard"
kill "$HOLDER"
wait_until 5 not keyboard_held || fail "the keyboard stays held"

# The saver tries again every 50 ms: it holds the keyboard well within 500 ms
# of the release (seen here up to 40 ms late, which only shortens the time).
saver_after_keyboard_holder 2000
wait_until 10 grep -q released "$WORK/holder.out" || fail "the other client never let go"
released=$(now_ms)
wait_until 5 keyboard_held || fail "the saver did not take the keyboard once it was free"
taken_ms=$(($(now_ms) - released))
[ "$taken_ms" -le 500 ] || fail "the saver took the free keyboard only after $taken_ms ms"
# The other client gave the focus away as it let go; the saver takes it back.
saver_has_focus() { [ "$(xdotool getwindowfocus)" = "$(xdotool search --onlyvisible --name '^frog$')" ]; }
wait_until 5 saver_has_focus || fail "the saver's window does not have the focus"
xdotool key a
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS after a key"
pass "once the other client lets go, the saver holds the keyboard within $taken_ms ms, has the focus, and a key ends it"

# Speed 200 with sounds: a jump is a sound, then seven pauses of 200 ms each.
CAPTURE="$WORK/captured.raw"
printf 'pcm.!default { type file slave.pcm { type null } file "|cat >>%s" format "raw" }\n' \
  "$CAPTURE" >"$HOME/.asoundrc"
write_settings 200 1 0
# Ends the saver with the input $1 ($2 ms after its first sound began) and
# measures the time from the input to the end of the process (xdotool's own
# start, some 40 ms, included).
end_mid_jump() {
  rm -f "$CAPTURE"
  start_program /S
  SAVER=$LAST_PID
  wait_until 10 test -s "$CAPTURE" || fail "no sound captured"
  sleep "$2" # a duration: into the sound, or into a pause of the jump
  kill -0 "$SAVER" || fail "the saver ended by itself"
  local start; start=$(now_ms)
  xdotool $1
  until ! kill -0 "$SAVER" 2>/dev/null; do sleep 0.005; done
  ENDED_MS=$(($(now_ms) - start))
  wait_exit "$SAVER" 1
  [ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS after '$1'"
  [ "$ENDED_MS" -le 300 ] || fail "'$1' $2 s into a jump ended the saver only after $ENDED_MS ms"
}
end_mid_jump "key a" 0.05
pass "a key during a jump's sound ends the saver within $ENDED_MS ms"
end_mid_jump "key a" 0.9
pass "a key during a jump's pause ends the saver within $ENDED_MS ms"
# A press is what ends it: xdotool's click would add its own pause before the release.
end_mid_jump "mousedown 1" 0.6
xdotool mouseup 1
pass "a click during a jump ends the saver within $ENDED_MS ms"

# Sounds of two seconds each, beside a copy of the program: a key in the
# middle of one still ends the saver at once.
APP="$WORK/app"
mkdir -p "$APP"
cp "$PROGRAM" "$(dirname "$PROGRAM")/lilywade-sound.so" "$APP/"
silent_wav "$APP/bud.wav" 2
cp "$APP/bud.wav" "$APP/wizer.wav"
PROGRAM="$APP/$(basename "$PROGRAM")"
end_mid_jump "key a" 0.6
pass "a key 0.6 s into a sound of 2 s ends the saver within $ENDED_MS ms"
