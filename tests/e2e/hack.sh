# lilywade in a window given by id, as the screen-saver hosts run it: frogs
# over the host's copy of the screen (scaled to a small window) or black, in
# that window only, on a server without shared memory too; no input held; the
# end of the window or SIGTERM ends it quietly with status 0.
# Arguments: HACK HOST_WINDOW DESKTOP_CLIENT ROOT_PATTERN INPUT_PROBE
source "$(dirname "$0")/lib.sh"
HOST="${2:?host_window}"
CLIENT="${3:?desktop_client}"
ROOT_PATTERN="${4:?root_pattern}"
PROBE="${5:?input_probe}"
start_xvfb 1024x768
patterned_desktop "$ROOT_PATTERN"

source "$(dirname "$0")/hack_host.sh"
# Pixels of image $1 outside the host's top-level that differ from image $2.
outside_changes() {
  convert "$1" -fill black -draw 'rectangle 30,0 380,300' "$WORK/a.png"
  convert "$2" -fill black -draw 'rectangle 30,0 380,300' "$WORK/b.png"
  compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || true
}
# The desktop may be shown: the user ticked "Grab Desktop Images".
printf 'grabDesktopImages: True\n' >"$HOME/.xscreensaver"

start_host
store_screenshot
screenshot "$WORK/before.png"
write_settings 30 0 0
start_program --window-id "$HOST_ID"
HACK=$LAST_PID
wait_until 10 ground_shown || fail "the host's window does not show the scaled screen copy"
[ "$(outside_changes "$WORK/now.png" "$WORK/before.png")" -eq 0 ] || fail "the hack drew outside its window"
"$PROBE" grab >/dev/null || fail "another client cannot grab the keyboard and the pointer while the hack runs"
pass "frogs over the scaled screen copy inside the given window only; the input stays free"

echo destroy >&7
wait_exit "$HACK" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS when its window went"
grep -v '^$' "$WORK/program.err" && fail "the hack said something when its window went"
pass "the end of its window ends the hack quietly with status 0"

# A locker (XSCREENSAVER_SAVER_INDEX set) never shows the desktop, even when a
# screen copy is there; the window id in decimal, as xsecurelock gives it.
exec 7>&-
start_host
store_screenshot
XSCREENSAVER_WINDOW="$HOST_ID" XSCREENSAVER_SAVER_INDEX=0 start_program -root
HACK=$LAST_PID
wait_until 10 frogs_on_black || fail "the locker's window does not show frogs on black"
pass "with XSCREENSAVER_SAVER_INDEX the ground is black"

# SIGTERM in the middle of a slow jump with sounds.
CAPTURE="$WORK/captured.raw"
printf 'pcm.!default { type file slave.pcm { type null } file "|cat >>%s" format "raw" }\n' \
  "$CAPTURE" >"$HOME/.asoundrc"
write_settings 200 1 0
kill "$HACK"; wait_exit "$HACK" 5
XSCREENSAVER_WINDOW="$HOST_ID" start_program --root
HACK=$LAST_PID
wait_until 10 test -s "$CAPTURE" || fail "no sound captured"
for into in 0.05 0.9; do
  sleep "$into" # a duration: into the sound, then into a pause of the jump
  kill -0 "$HACK" || fail "the hack ended by itself"
  start=$(now_ms)
  kill -TERM "$HACK"
  until ! kill -0 "$HACK" 2>/dev/null; do sleep 0.005; done
  ended=$(($(now_ms) - start))
  wait_exit "$HACK" 1
  [ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS after SIGTERM"
  [ "$ended" -le 300 ] || fail "SIGTERM $into s into a jump ended the hack after $ended ms"
  pass "SIGTERM $into s into a jump ends the hack with status 0 within $ended ms"
  XSCREENSAVER_WINDOW="$HOST_ID" start_program --root
  HACK=$LAST_PID
  rm -f "$CAPTURE"
  wait_until 10 test -s "$CAPTURE" || fail "no sound captured"
done

# Two hacks on one display (one per monitor) with sounds: only one plays, so
# the sound device gets bud.wav then wizer.wav as one process plays them, not
# two streams mixed. A hack without sound, started first, claims nothing.
kill "$HACK"; wait_exit "$HACK" 5
write_settings 0 1 0
start_program --window-id "$HOST_ID" --no-sound
HACKS=("$LAST_PID")
wait_until 10 ground_shown || fail "the hack without sound does not show"
rm -f "$CAPTURE"
SOUNDS="$(dirname "$PROGRAM")"
{ tail -c +45 "$SOUNDS/bud.wav"; tail -c +45 "$SOUNDS/wizer.wav"; } >"$WORK/expected.raw"
expected=$(stat -c %s "$WORK/expected.raw")
captured_enough() { [ -f "$CAPTURE" ] && [ "$(stat -c %s "$CAPTURE")" -ge "$expected" ]; }
for _ in 1 2; do
  start_program --window-id "$HOST_ID"
  HACKS+=("$LAST_PID")
done
wait_until 20 captured_enough || fail "only $(stat -c %s "$CAPTURE" 2>/dev/null || echo 0) of $expected bytes captured"
cmp -s -n "$expected" "$WORK/expected.raw" "$CAPTURE" || fail "two hacks played their sounds at once"
for hack in "${HACKS[@]}"; do kill -0 "$hack" || fail "a hack ended"; done
pass "of two hacks on one display only one plays the sounds; one without sound takes no part"

# The host's window resized (its monitor changed): the hack's window follows.
for hack in "${HACKS[@]}"; do kill "$hack"; wait_exit "$hack" 5; done
"$CLIENT" popup 0000ff 500 300 300 200 >"$WORK/popup.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q '^id ' "$WORK/popup.out" || fail "no popup host"
POPUP=$(awk '/^id / {print $2}' "$WORK/popup.out")
write_settings 30 0 0
start_program --window-id "$POPUP"
HACK=$LAST_PID
# The size of the hack's window inside the host.
inner_size() { xwininfo -children -id "$POPUP" | awk '/^ +0x/ {print $(NF-1); exit}' | cut -d+ -f1; }
wait_until 10 eval '[ "$(inner_size)" = 300x200 ]' || fail "the hack's window is $(inner_size), not the host's 300x200"
xdotool windowsize "$POPUP" 420 260
wait_until 5 eval '[ "$(inner_size)" = 420x260 ]' || fail "the hack's window stayed $(inner_size) when the host grew"
kill -0 "$HACK" || fail "the hack ended when its window grew"
[ "$("$CLIENT" pixel 900 540)" = 000000 ] || fail "the host's new area is not the hack's black ground"
pass "the hack's window follows its host's size"

# An X server without shared memory (a remote display, say): the host's
# screen copy comes over the socket, and the ground is that copy again.
kill "$HACK"; wait_exit "$HACK" 5
exec 7>&-
start_other_xvfb 1024x768 -extension MIT-SHM
export DISPLAY="$OTHER_DISPLAY"
! xdpyinfo | grep -q MIT-SHM || fail "the second server has shared memory"
patterned_desktop "$ROOT_PATTERN"
start_host
"$CLIENT" screenshot "$HOST_ID" >"$WORK/shot.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q stored "$WORK/shot.out" || fail "no screenshot property without MIT-SHM"
start_program --window-id "$HOST_ID"
wait_until 10 ground_shown || fail "without MIT-SHM the host's window does not show the scaled screen copy"
pass "without MIT-SHM the ground is the host's screen copy"
kill "$LAST_PID"; wait_exit "$LAST_PID" 5
expect_nothing_left
pass "no process outlives the hack"
