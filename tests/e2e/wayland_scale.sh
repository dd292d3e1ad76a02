# The saver natively on headless sway with HEADLESS-1 at scale 2: the frogs
# take the output's scale, so on its 1280 x 720 pixels each frog is the art
# with every pixel a 2 x 2 block, and its first jump goes 120 pixels.
# Arguments: PROGRAM ART_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
ART="${2:?sprites/art}"

start_sway
as_nobody swaymsg output HEADLESS-1 scale 2 >/dev/null || fail "sway took no scale"
as_nobody swaymsg output HEADLESS-2 position 640 0 >/dev/null || fail "sway did not move HEADLESS-2"
wait_until 10 eval 'as_nobody swaymsg -t get_outputs | grep -q "\"scale\": 2.0"' || fail "HEADLESS-1 is not at scale 2"
XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings 200 0 0
chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"

for picture in mask-4 green-4; do convert "$ART/$picture.bmp" -sample 200% "PNG24:$WORK/$picture.png"; done
convert "$WORK/green-4.png" "$WORK/mask-4.png" -compose lighten -composite "PNG24:$WORK/sitting.png"
# True when HEADLESS-1 shows the green frog doubled, sitting in frame 4 (its
# landing pose after a jump to the left) with its 190 x 190 cell at (x, y).
green_sitting_at() { # X Y
  capture "$WORK/now.png" HEADLESS-1 || return 1
  convert "$WORK/now.png" -crop "190x190+$1+$2" +repage "$WORK/mask-4.png" -compose lighten -composite \
    "PNG24:$WORK/cell.png"
  [ "$(differing_pixels "$WORK/cell.png" "$WORK/sitting.png")" = 0 ]
}

start_client saver "$PROGRAM" /S
SAVER=$LAST_PID
# It starts at (350, 350) and first jumps left, toward the top left corner.
wait_until 20 green_sitting_at 230 350 || fail "the green frog never sat doubled at (230, 350): $(tail -3 "$WORK/saver.err")"
pass "on an output at scale 2 the green frog is 190 x 190 in 2 x 2 blocks and lands 120 pixels left of its start"
kill -TERM "$SAVER"
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "SIGTERM: status $EXIT_STATUS"
