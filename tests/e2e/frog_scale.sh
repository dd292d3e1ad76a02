# Frogs at the desktop's scale. On a 3840 x 2160 screen whose desktop says
# Xft.dpi: 192 (200 %), the saver's frogs are the art with every pixel a
# 2 x 2 block, and their first jumps go 120 pixels. In a host's preview of
# 480 x 270 showing a copy of that screen, the hack's frogs are the screen's
# in miniature, about 12 pixels wide.
# Arguments: PROGRAM ROOT_PATTERN ART_DIR HACK HOST_WINDOW DESKTOP_CLIENT
source "$(dirname "$0")/lib.sh"
ROOT_PATTERN="${2:?root_pattern}" ART="${3:?sprites/art}" HACK="${4:?lilywade}"
HOST="${5:?host_window}" CLIENT="${6:?desktop_client}"
start_xvfb 3840x2160
patterned_desktop "$ROOT_PATTERN"
printf 'Xft.dpi:\t192\n' | xrdb -merge
write_settings 200 0 0

# Takes a screenshot and tells whether the frog (green or red) sits with its
# 190 x 190 cell at (x, y) in sitting frame 4, the landing pose after a jump
# to the left: every pixel of the doubled silhouette shows the doubled art.
# Screenshots stay in xwd's own format: a PNG of a 4K screen takes too long to
# catch a frog that sits for a second and a half.
SHOT="$WORK/shot.xwd"
doubled() { convert "$ART/$1" -sample 200% "$WORK/$1.png"; }
doubled mask-4.bmp; doubled green-4.bmp; doubled red-4.bmp
sitting_at() { # FROG X Y
  xwd -root -silent >"$SHOT" || return 1
  convert "xwd:$SHOT" -crop "190x190+$2+$3" +repage "$WORK/mask-4.bmp.png" -compose lighten -composite \
    "$WORK/sitting-shot.png"
  convert "$WORK/$1-4.bmp.png" "$WORK/mask-4.bmp.png" -compose lighten -composite "$WORK/sitting-frog.png"
  [ "$(count "$WORK/sitting-shot.png" "$WORK/sitting-frog.png")" = 0 ]
}

start_program /S
SAVER=$LAST_PID
wait_until 10 window_exists frog || fail "no window \"frog\""
# The frogs start at (350, 350) and (652, 652); the first tick takes the green
# frog one jump left, then the red one; each sits for a jump of the other's.
wait_until 20 sitting_at green 230 350 || fail "the green frog never sat doubled at (230, 350)"
mv "$SHOT" "$WORK/green.xwd"
wait_until 5 sitting_at red 532 652 || fail "the red frog never sat doubled at (532, 652)"
[ "$(differences_outside "xwd:$WORK/green.xwd" "$WORK/pattern.png" 230,350,539,539 532,652,841,841)" = 0 ] \
  || fail "the desktop changed outside the frogs' doubled cells"
pass "Xft.dpi 192: each frog, 190 x 190 in 2 x 2 blocks, lands 120 pixels left of its start"
xdotool key a
wait_exit "$SAVER" 10
[ "$EXIT_STATUS" -eq 0 ] || fail "the saver ended with status $EXIT_STATUS"

# The preview: XScreenSaver's copy of the whole screen in a small window.
# The host ends at the end of its input: it gets one that stays open.
"$HOST" 480 270 >"$WORK/host.out" 2>/dev/null < <(sleep 600) &
CHILD_PIDS+=($!)
wait_until 10 grep -q '^[0-9]' "$WORK/host.out" || fail "no host window"
HOST_ID=$(head -n1 "$WORK/host.out")
wait_until 10 eval 'xwininfo -id "$HOST_ID" | grep -q IsViewable' || fail "the host window is not shown"
"$CLIENT" screenshot "$HOST_ID" >"$WORK/shot.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q stored "$WORK/shot.out" || fail "no screenshot property"
printf 'Xft.dpi:\t96\n' | xrdb -merge
read -r X Y < <(xwininfo -id "$HOST_ID" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{print x, $NF}')
"$HACK" --window-id "$HOST_ID" --speed 200 --blank >"$WORK/program.out" 2>"$WORK/program.err" &
CHILD_PIDS+=($!)
# The frogs on black; each frog's cell is 12 x 12 pixels (95 / 8), so the two
# light fewer than 2 x 144 pixels, where full-size frogs light thousands.
frog_pixels() {
  xwd -root -silent >"$SHOT"
  convert "xwd:$SHOT" -crop "480x270+$X+$Y" +repage -fill black -opaque black -fill white +opaque black \
    -format '%[fx:int(mean*w*h+0.5)] %@' info:
}
miniature() {
  read -r lit box < <(frog_pixels)
  [ "$lit" -gt 20 ] && [ "$lit" -le 288 ]
}
wait_until 10 miniature || fail "no miniature frogs in the preview: $(frog_pixels) (lit pixels, their box)"
pass "in a 480 x 270 preview of the 3840 x 2160 screen: $lit frog pixels, within $box"
