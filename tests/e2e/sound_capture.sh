# Sound playback through ALSA's default device, captured by a file plugin:
# the samples reach the device unchanged, the call lasts as long as the
# sound, and files that cannot play ring the bell instead.
# Arguments: PROGRAM SOUND_PROBE FOLDER_WITH_THE_SOUNDS
source "$(dirname "$0")/lib.sh"
PROBE="${2:?sound_probe}"
SOUNDS="${3:?folder of bud.wav and wizer.wav}"
start_xvfb 320x240
CAPTURE="$WORK/captured.raw"
# Bounds on the time a call takes leave a loaded machine seconds of margin:
# they catch a call that hangs or plays on, not one that is a little slow.
MARGIN_MS=3000

use_device() { mkdir -p "$HOME"; printf '%s\n' "$1" >"$HOME/.asoundrc"; }
capture_device() {
  use_device "pcm.!default { type file slave.pcm { type null } file \"$CAPTURE\" format \"raw\" }"
}

# Runs the probe on its arguments (the file last); sets PLAYED (0 or 1), MS,
# BELL and SILENT.
probe() {
  local out
  rm -f "$CAPTURE"
  set +e; out=$("$PROBE" "$@" 2>/dev/null); PLAYED=$((1 - $?)); set -e
  [[ "$out" =~ ^ms=([0-9]+)\ bell=([01])\ silent=([01])$ ]] || fail "probe printed '$out' for $*"
  MS=${BASH_REMATCH[1]} BELL=${BASH_REMATCH[2]} SILENT=${BASH_REMATCH[3]}
}

# The data chunk of a canonical 44-byte-header PCM WAV.
wav_data() {
  [ "$(dd if="$1" bs=1 skip=36 count=4 2>/dev/null)" = data ] || fail "$1: data chunk not at byte 36"
  tail -c +45 "$1"
}

capture_device
for sound in bud wizer; do
  file="$SOUNDS/$sound.wav"
  bytes=$(($(stat -c %s "$file") - 44))
  duration_ms=$((bytes * 1000 / 2 / 22050))   # 16-bit mono at 22050 Hz
  probe "$file"
  [ "$PLAYED" -eq 1 ] && [ "$BELL" -eq 0 ] || fail "$sound.wav: played=$PLAYED bell=$BELL"
  cmp -s <(wav_data "$file") "$CAPTURE" || fail "$sound.wav: captured samples differ from the file's"
  [ "$MS" -ge "$duration_ms" ] || fail "$sound.wav: call returned after ${MS} ms, sound lasts ${duration_ms} ms"
  [ "$MS" -lt $((duration_ms + MARGIN_MS)) ] || fail "$sound.wav: call took ${MS} ms for ${duration_ms} ms of sound"
  pass "$sound.wav: samples written unchanged, call lasted ${MS} ms for ${duration_ms} ms"
done

# A second player on the display (a hack on another monitor) stays silent
# while the first holds the claim, yet each of its sounds lasts as long, so
# that its frogs keep the same pace. The first plays a long sound, to a
# capture file of its own.
silent_wav "$WORK/long.wav" 20
mkdir -p "$WORK/first"
printf 'pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' \
  "$WORK/first/captured.raw" >"$WORK/first/.asoundrc"
HOME="$WORK/first" "$PROBE" --claim "$WORK/long.wav" >/dev/null 2>&1 &
HOLDER=$!
CHILD_PIDS+=("$HOLDER")
wait_until 10 test -s "$WORK/first/captured.raw" || fail "the first player did not play"
file="$SOUNDS/bud.wav"
duration_ms=$((($(stat -c %s "$file") - 44) * 1000 / 2 / 22050))
probe --claim "$file"
[ "$SILENT" -eq 1 ] && [ "$PLAYED" -eq 1 ] && [ "$BELL" -eq 0 ] \
  || fail "second player: silent=$SILENT played=$PLAYED bell=$BELL"
[ ! -e "$CAPTURE" ] || fail "the second player reached the device"
[ "$MS" -ge "$duration_ms" ] || fail "second player: bud.wav over after ${MS} ms, it lasts ${duration_ms} ms"
[ "$MS" -lt $((duration_ms + MARGIN_MS)) ] || fail "second player: ${MS} ms for ${duration_ms} ms of sound"
kill "$HOLDER"
pass "a second player stays silent and waits ${MS} ms for ${duration_ms} ms of sound"

# 8-bit stereo at 11025 Hz, made here: 2205 frames of unsigned bytes, sent as 16-bit.
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
frames=2205
{
  printf RIFF; le32 $((36 + frames * 2)); printf WAVEfmt\ ; le32 16
  le16 1; le16 2; le32 11025; le32 $((11025 * 2)); le16 2; le16 8
  printf data; le32 $((frames * 2))
  head -c $((frames * 2)) /dev/urandom
} >"$WORK/u8.wav"
probe "$WORK/u8.wav"
[ "$PLAYED" -eq 1 ] && [ "$BELL" -eq 0 ] || fail "8-bit stereo: played=$PLAYED bell=$BELL"
[ "$(stat -c %s "$CAPTURE")" -eq $((frames * 2 * 2)) ] || fail "8-bit stereo: wrong number of samples"
[ "$MS" -ge 200 ] || fail "8-bit stereo: call returned after ${MS} ms, sound lasts 200 ms"
pass "8-bit stereo at 11025 Hz plays for ${MS} ms"

# Files that cannot play: the bell, at once.
mkdir "$WORK/folder.wav"
: >"$WORK/empty.wav"
head -c 30 "$SOUNDS/bud.wav" >"$WORK/cut.wav"
echo "not a sound" >"$WORK/text.wav"
slowest=0
for file in "$WORK/missing.wav" "$WORK/empty.wav" "$WORK/cut.wav" "$WORK/text.wav" "$WORK/folder.wav"; do
  probe "$file"
  [ "$PLAYED" -eq 0 ] && [ "$BELL" -eq 1 ] || fail "$(basename "$file"): played=$PLAYED bell=$BELL"
  [ "$MS" -lt "$MARGIN_MS" ] || fail "$(basename "$file"): took ${MS} ms"
  [ ! -e "$CAPTURE" ] || fail "$(basename "$file"): something reached the device"
  [ "$MS" -le "$slowest" ] || slowest=$MS
done
pass "missing, empty, cut, text and a directory ring the bell at once (at most ${slowest} ms)"

# No sound device: the bell, at once.
use_device 'pcm.!default { type hw card 63 }'
probe "$SOUNDS/bud.wav"
[ "$PLAYED" -eq 0 ] && [ "$BELL" -eq 1 ] && [ "$MS" -lt "$MARGIN_MS" ] \
  || fail "without a device: played=$PLAYED bell=$BELL after ${MS} ms"
pass "without a sound device the bell rings at once (${MS} ms)"
