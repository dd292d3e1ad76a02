# The saver over a known desktop: outside the frogs the screen shows the
# desktop exactly as it was, the frogs make their first jumps from their
# start places and leave nothing behind, marks stay where asked, Blank gives
# black, and the window "frog" covers the screen.
# Arguments: PROGRAM ROOT_PATTERN ART_DIR
source "$(dirname "$0")/lib.sh"
ROOT_PATTERN="${2:?root_pattern}"
ART="${3:?sprites/art}"
start_xvfb 800x600

"$ROOT_PATTERN" "$WORK/pattern.png" 5 2>/dev/null &
CHILD_PIDS+=($!)
wait_until 10 test -f "$WORK/pattern.png" || fail "root pattern not set"
convert -size 800x600 xc:black "$WORK/black.png"

# settings HOLE STREAK BLANK SPEED, written where the program's store reads them.
settings() {
  mkdir -p "$XDG_CONFIG_HOME/lilywade"
  printf '[Lilywade]\nStartup\\Hole=%s\nStartup\\Streak=%s\nStartup\\Sound=0\nStartup\\blank=%s\nStartup\\Speed=%s\n' \
    "$@" >"$XDG_CONFIG_HOME/lilywade/settings.ini"
}

# Pixels that differ between two images in the 95 x 95 cell at (x, y).
cell_differences() { # IMAGE REFERENCE X Y
  count -extract "95x95+$3+$4" "$1" "$2"
}

# Pixels of exactly this colour in the cell at (x, y).
colour_pixels() { # IMAGE COLOUR X Y
  convert "$1" -crop "95x95+$3+$4" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}

# Takes a screenshot and tells whether the frog (green or red) sits in the
# cell at (x, y) in sitting frame 4, its landing pose after a jump to the
# left: every pixel of the silhouette shows the frog's own picture.
SHOT="$WORK/shot.png"
sitting_at() { # FROG X Y
  screenshot "$SHOT" || return 1
  convert "$SHOT" -crop "95x95+$2+$3" +repage "$ART/mask-4.bmp" -compose lighten -composite \
    "$WORK/sitting-shot.png"
  convert "$ART/$1-4.bmp" "$ART/mask-4.bmp" -compose lighten -composite "$WORK/sitting-frog.png"
  [ "$(count "$WORK/sitting-shot.png" "$WORK/sitting-frog.png")" = 0 ]
}

start_saver() {
  start_program /S
  SAVER=$LAST_PID
  wait_until 10 window_exists frog || fail "no window \"frog\""
}

end_saver() {
  xdotool key a
  wait_exit "$SAVER" 10
  [ "$EXIT_STATUS" -eq 0 ] || fail "the saver ended with status $EXIT_STATUS"
}

# --- Over the desktop, marks off, slowest speed so that poses can be caught.
settings 0 0 0 200
start_saver
id=$(xdotool search --onlyvisible --name '^frog$' | head -n1)
geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
  /Width:/{w=$NF} /Height:/{h=$NF} END{print x","y","w","h}')
[ "$geometry" = "0,0,800,600" ] || fail "window \"frog\" is at $geometry, not 0,0,800,600"
pass "the window \"frog\" covers the screen"

# First tick: the green frog lands at (115, 175) while the red one leaps
# left between (326, 326) and (266, 326).
wait_until 15 sitting_at green 115 175 || fail "green frog never sat at (115, 175)"
[ "$(differences_outside "$SHOT" "$WORK/pattern.png" 115,175,209,269 266,326,420,420)" = 0 ] \
  || fail "desktop changed outside the frogs during the first tick"
[ "$(cell_differences "$SHOT" "$WORK/pattern.png" 115 175)" = 1498 ] \
  || fail "the green frog's cell shows more than the frog"
pass "green frog's first jump lands at (115, 175); the desktop is untouched elsewhere"

# Second tick: the red frog sits at (266, 326) while the green one leaps up.
wait_until 15 sitting_at red 266 326 || fail "red frog never sat at (266, 326)"
[ "$(differences_outside "$SHOT" "$WORK/pattern.png" 266,326,360,420 115,115,209,269)" = 0 ] \
  || fail "desktop changed outside the frogs during the second tick"
[ "$(cell_differences "$SHOT" "$WORK/pattern.png" 266 326)" = 1498 ] \
  || fail "the red frog's cell shows more than the frog"
pass "red frog's first jump lands at (266, 326); nothing left behind"

end_saver
screenshot "$SHOT"
[ "$(count "$SHOT" "$WORK/pattern.png")" = 0 ] || fail "the screen is not the desktop after the end"
pass "after the end the desktop shows as before"

# --- Hole and Streak: black marks stay at the start place.
settings 1 1 0 200
start_saver
wait_until 15 sitting_at green 115 175 || fail "green frog never sat at (115, 175) with marks on"
# Columns 210..269 of the start cell are not under the frog now.
marks=$(convert "$SHOT" -crop 60x95+210+175 +repage -fill white +opaque black -fill black -opaque black \
  -negate -format '%[fx:round(mean*w*h)]' info:)
[ "$marks" -gt 200 ] || fail "no marks left at the start place ($marks black pixels)"
[ "$(differences_outside "$SHOT" "$WORK/pattern.png" 115,175,269,269 266,326,420,420)" = 0 ] \
  || fail "marks or frogs outside the cells they belong to"
pass "Hole and Streak leave $marks black pixels where the green frog started"
end_saver

# --- Blank: black ground, frogs only.
settings 0 0 1 200
start_saver
frog_on_black() {
  screenshot "$SHOT" && [ "$(colour_pixels "$SHOT" '#00ff00' 115 175)" -gt 300 ] \
    && [ "$(differences_outside "$SHOT" "$WORK/black.png" 115,175,209,269 266,326,420,420)" = 0 ]
}
wait_until 15 frog_on_black || fail "Blank: not a black screen with the green frog at (115, 175)"
pass "Blank: the frogs hop on black"
end_saver
