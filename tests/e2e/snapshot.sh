# The display device context is a 1:1 copy of the whole screen, windows on
# top included, by every capture method: pixel-exact against xwd and against
# the known random pattern on the root. A copy asked for ahead shows the
# screen as it was then, not a window mapped since.
# Arguments: PROGRAM SNAPSHOT_PROBE ROOT_PATTERN
source "$(dirname "$0")/lib.sh"
PROBE="${2:?snapshot_probe}"
ROOT_PATTERN="${3:?root_pattern}"
start_xvfb 1021x767   # odd sizes catch stride and clipping mistakes

"$ROOT_PATTERN" "$WORK/pattern.png" 4 2>/dev/null &
CHILD_PIDS+=($!)
wait_until 10 test -f "$WORK/pattern.png" || fail "root pattern not set"
xmessage -name cover -title cover -geometry +100+80 "a window over the desktop" &
CHILD_PIDS+=($!)
wait_until 10 window_exists cover || fail "covering window did not appear"
screenshot "$WORK/screen.png"
corner() { convert "$1" -crop 500x300+521+467 +repage "$2"; }   # away from the window
corner "$WORK/pattern.png" "$WORK/pattern-corner.png"

differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

for method in "" shm socket qt prepared; do
  name="${method:-CreateDCA}"
  out=$("$PROBE" "$WORK/copy.png" $method 2>/dev/null) || fail "$name: no copy of the screen"
  [[ "$out" == *"size=1021x767 format=1" ]] || fail "$name: $out"
  [ "$(differing "$WORK/screen.png" "$WORK/copy.png")" = 0 ] || fail "$name: copy differs from xwd"
  corner "$WORK/copy.png" "$WORK/copy-corner.png"
  [ "$(differing "$WORK/pattern-corner.png" "$WORK/copy-corner.png")" = 0 ] \
    || fail "$name: copy differs from the root pattern away from the window"
  [ "$(differing "$WORK/pattern.png" "$WORK/copy.png")" != 0 ] || fail "$name: window missing from the copy"
  pass "$name: pixel-exact copy of the screen with its window ($out)"
done
