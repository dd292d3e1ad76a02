# With "Sound" on, every jump first plays its frog's sound to the end: the
# first tick's two jumps (green frog, then red frog) write the samples of
# bud.wav and then of wizer.wav, from the program's folder, to the default
# sound device, here an ALSA file device that appends to a capture file.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600
SOUNDS="$(dirname "$PROGRAM")"
CAPTURE="$WORK/captured.raw"
printf 'pcm.!default { type file slave.pcm { type null } file "|cat >>%s" format "raw" }\n' \
  "$CAPTURE" >"$HOME/.asoundrc"
mkdir -p "$XDG_CONFIG_HOME/lilywade"
printf '[Lilywade]\nStartup\\Hole=0\nStartup\\Streak=0\nStartup\\Sound=1\nStartup\\blank=0\nStartup\\Speed=0\n' \
  >"$XDG_CONFIG_HOME/lilywade/settings.ini"

# Both files have a canonical 44-byte header.
{ tail -c +45 "$SOUNDS/bud.wav"; tail -c +45 "$SOUNDS/wizer.wav"; } >"$WORK/expected.raw"
expected=$(stat -c %s "$WORK/expected.raw")
captured_enough() { [ -f "$CAPTURE" ] && [ "$(stat -c %s "$CAPTURE")" -ge "$expected" ]; }

start_program /S
wait_until 20 captured_enough || fail "only $(stat -c %s "$CAPTURE" 2>/dev/null || echo 0) of $expected bytes captured"
cmp -s -n "$expected" "$WORK/expected.raw" "$CAPTURE" \
  || fail "the first sounds are not bud.wav then wizer.wav, sample for sample"
pass "first tick played bud.wav, then wizer.wav, to the default device"

xdotool key space
wait_exit "$LAST_PID" 5
pass "a key still ends the saver after sounds"
