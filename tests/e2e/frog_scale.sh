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

prepare_doubled_landings "$ART"
# Screenshots stay in xwd's own format: a PNG of a 4K screen takes too long.
SHOT="$WORK/shot.xwd"
green_landed() { xwd -root -silent >"$SHOT" && doubled_green_landed_in "xwd:$SHOT"; }

start_program /S
SAVER=$LAST_PID
wait_until 10 window_exists frog || fail "no window \"frog\""
# The frogs start at (350, 350) and (652, 652) in screen pixels.
wait_until 20 green_landed || fail "the green frog never sat doubled where its first jumps land"
pass "Xft.dpi 192: the green frog, 190 x 190 in 2 x 2 blocks, sat at ($LANDED), jumps of 120 pixels from (350, 350)"
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
