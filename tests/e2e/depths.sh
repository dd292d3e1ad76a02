# Display depths. On a 16-bit TrueColor screen (5-6-5, as xrdp and VNC
# sessions have) the saver shows the desktop unchanged and the frogs in their
# own colours to 5-6-5 precision, and so does the hack over its host's copy
# of the screen. On an 8-bit palette screen the saver and the hack end at once
# with status 0, map no window and hold nothing; the settings dialog opens.
# Arguments: Lilywade.scr lilywade ROOT_PATTERN DESKTOP_CLIENT INPUT_PROBE ART_DIR
source "$(dirname "$0")/lib.sh"
HACK_PROGRAM="${2:?lilywade}"
ROOT_PATTERN="${3:?root_pattern}"
CLIENT="${4:?desktop_client}"
PROBE="${5:?input_probe}"
ART="${6:?sprites/art}"

# Image $1 with each channel cut to its 5-6-5 bits, as $2: colours of the
# screen and of the art then compare exactly, however the screen's 5 or 6 bits
# were spread over 0..255 on the way into the image.
to_565() { convert "$1" -channel RB -evaluate and 63488 -channel G -evaluate and 64512 +channel "$2"; }

# Each frog's silhouette in sitting frame 4 (its landing pose after a jump to
# the left) in 5-6-5 colours, white around it.
for frog in green red; do
  convert "$ART/$frog-4.bmp" "$ART/mask-4.bmp" -compose lighten -composite "$WORK/$frog.png"
  to_565 "$WORK/$frog.png" "$WORK/$frog-565.png"
done
# Takes a screenshot and tells whether the frog sits in sitting frame 4 in the
# 95 x 95 cell at (x, y): every pixel of its silhouette in the frog's colours.
SHOT="$WORK/shot.png"
sitting_at() { # FROG X Y
  screenshot "$SHOT" || return 1
  convert "$SHOT" -crop "95x95+$2+$3" +repage "$ART/mask-4.bmp" -compose lighten -composite \
    "$WORK/cell.png"
  to_565 "$WORK/cell.png" "$WORK/cell-565.png"
  [ "$(count "$WORK/cell-565.png" "$WORK/$1-565.png")" = 0 ]
}
# The first tick: the green frog lands at (115, 175), the red one leaps from
# (326, 326); elsewhere the screen must show the desktop of $1 as it was.
first_jump_over() { # DESKTOP WHAT
  wait_until 15 sitting_at green 115 175 || fail "$2: the green frog never sat at (115, 175) in its colours"
  [ "$(differences_outside "$SHOT" "$1" 115,175,209,269 266,326,420,420)" = 0 ] \
    || fail "$2: the screen is not the desktop outside the frogs"
}

start_hack() {
  "$HACK_PROGRAM" "$@" >"$WORK/program.out" 2>"$WORK/program.err" &
  LAST_PID=$!
  CHILD_PIDS+=("$LAST_PID")
}

# --- 16 bits.
start_xvfb 800x600 16
patterned_desktop "$ROOT_PATTERN"
screenshot "$WORK/desktop.png"
write_settings 200 0 0

start_program /S
SAVER=$LAST_PID
wait_until 10 window_exists frog || fail "no window \"frog\" at 16 bits"
first_jump_over "$WORK/desktop.png" "saver at 16 bits"
xdotool key a
wait_exit "$SAVER" 10
[ "$EXIT_STATUS" -eq 0 ] || fail "the saver ended with status $EXIT_STATUS at 16 bits"
pass "16 bits: the saver shows the desktop unchanged and the frogs in their colours"

# A host covering the screen, with the copy of the screen made before it came
# up (as XScreenSaver makes it): put beside the screen, copied, moved on.
"$CLIENT" popup 000000 800 0 800 600 >"$WORK/popup.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q '^id ' "$WORK/popup.out" || fail "no host window"
HOST_ID=$(awk '/^id / {print $2}' "$WORK/popup.out")
"$CLIENT" screenshot "$HOST_ID" >"$WORK/copy.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q stored "$WORK/copy.out" || fail "no screenshot property"
xdotool windowmove "$HOST_ID" 0 0
wait_until 5 eval 'xwininfo -id "$HOST_ID" | grep -q "Absolute upper-left X:  0"' \
  || fail "the host window did not move onto the screen"
# The user allows the desktop to show (Debian's XScreenSaver defaults do not).
printf 'grabDesktopImages: True\n' >"$HOME/.xscreensaver"
start_hack --window-id "$HOST_ID"
HACK=$LAST_PID
first_jump_over "$WORK/desktop.png" "hack at 16 bits"
kill "$HACK"; wait_exit "$HACK" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "the hack ended with status $EXIT_STATUS at 16 bits"
pass "16 bits: the hack shows its host's copy of the screen unchanged and the frogs on it"

# --- 8 bits: a palette.
stop_xvfb
start_xvfb 800x600 8
watch_top_level_maps
maps_before=$(top_level_maps)
start_program /S
wait_exit "$LAST_PID" 3
[ "$EXIT_STATUS" -eq 0 ] || fail "the saver ended with status $EXIT_STATUS at 8 bits"
start_hack --root
wait_exit "$LAST_PID" 3
[ "$EXIT_STATUS" -eq 0 ] || fail "the hack ended with status $EXIT_STATUS at 8 bits"
[ "$(top_level_maps)" -eq "$maps_before" ] \
  || fail "a window was mapped at 8 bits: $(grep MapNotify "$WORK/maps.log")"
"$PROBE" grab >/dev/null || fail "the keyboard or the pointer is held at 8 bits"
[ "$(cursor_pixels)" -gt 0 ] || fail "the cursor is hidden at 8 bits"
pass "8 bits: the saver and the hack end at once with status 0, touching nothing"

TITLE="Lilywade Settings"
start_program /C
DIALOG_RUN=$LAST_PID
wait_until 10 window_exists "$TITLE" || fail "no settings dialog at 8 bits"
DIALOG=$(xdotool search --onlyvisible --name "^$TITLE\$" | head -n1)
wait_until 5 eval '[ "$(xdotool getwindowfocus)" = "$DIALOG" ]' || fail "the dialog did not get the keyboard"
xdotool key Escape
wait_exit "$DIALOG_RUN" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "the dialog ended with status $EXIT_STATUS at 8 bits"
pass "8 bits: the settings dialog opens and Esc closes it"
