# The saver natively on headless sway with HEADLESS-1 at scale 2: the frogs
# take the output's scale, so on its 1280 x 720 pixels each frog is the art
# with every pixel a 2 x 2 block, and its jumps go 120 pixels.
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

# The green frog's first four landings, made while its target is still the
# top left corner: left, up, left, up, 60 frog pixels (120 here) each,
# sitting in frame 4 after a jump to the left and in frame 1 after one up.
LANDINGS=("230 350 4" "230 230 1" "110 230 4" "110 110 1")
for k in 1 4; do
  convert "$ART/mask-$k.bmp" -sample 200% "PNG24:$WORK/mask-$k.png"
  convert "$ART/green-$k.bmp" -sample 200% "$WORK/mask-$k.png" -compose lighten -composite \
    "PNG24:$WORK/sitting-$k.png"
done
# True when HEADLESS-1 shows the green frog doubled at one of its landings; sets LANDED.
green_landed() {
  capture "$WORK/now.png" HEADLESS-1 || return 1
  local landing x y k
  for landing in "${LANDINGS[@]}"; do
    read -r x y k <<<"$landing"
    convert "$WORK/now.png" -crop "190x190+$x+$y" +repage "$WORK/mask-$k.png" -compose lighten -composite \
      "PNG24:$WORK/cell.png"
    if [ "$(differing_pixels "$WORK/cell.png" "$WORK/sitting-$k.png")" = 0 ]; then LANDED="$x, $y"; return 0; fi
  done
  return 1
}

start_client saver "$PROGRAM" /S
SAVER=$LAST_PID
# It starts at (350, 350) in the output's pixels.
wait_until 20 green_landed || fail "the green frog never sat doubled where its first jumps land: $(tail -3 "$WORK/saver.err")"
pass "on an output at scale 2 the green frog is 190 x 190 in 2 x 2 blocks, sitting at ($LANDED) after jumps of 120 pixels"
kill -TERM "$SAVER"
wait_exit "$SAVER" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "SIGTERM: status $EXIT_STATUS"
