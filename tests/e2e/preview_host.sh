# The stand-in host: its preview area shows the still, its buttons start the
# settings dialog and the saver, and closing it ends the preview.
# Usage: preview_host.sh Lilywade.scr lilywade-host preview.bmp
source "$(dirname "$0")/lib.sh"
HOST="${2:?lilywade-host}"
STILL_BMP="${3:?preview still}"
start_xvfb 800x600
convert "$STILL_BMP" "png:$WORK/still.png"

# The pid of this display's program started with $1 (the host detaches it).
program_pid() {
  local pid
  for pid in $(pgrep -f -x "$PROGRAM $1.*"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && { echo "$pid"; return 0; }
  done
  return 1
}
ended() { ! kill -0 "$1" 2>/dev/null || grep -q '^State:.*Z' "/proc/$1/status"; }
# True when the window titled $1 offers the desktop a 32 x 32 icon.
has_icon() {
  [[ "$(xprop -id "$(xdotool search --onlyvisible --name "^$1\$")" _NET_WM_ICON)" == *"Icon (32 x 32)"* ]]
}
press_in() { xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$1\$")" key "$2"; }

"$HOST" >"$WORK/host.out" 2>&1 &
HOST_PID=$!
CHILD_PIDS+=("$HOST_PID")
wait_until 5 window_exists "Lilywade host" || fail "the host did not appear"
has_icon "Lilywade host" || fail "the host window has no 32 x 32 icon"
wait_until 5 program_pid /P || fail "the host started no preview"
PREVIEW=$(program_pid /P)
CHILD_PIDS+=("$PREVIEW")

# The picture is the preview area's only child; it must show the still.
picture_shows_still() {
  local host picture x y
  host=$(xdotool search --onlyvisible --name '^Lilywade host$')
  picture=$(xwininfo -tree -id "$host" | awk '/"Lilywade.scr"/ {print $1; exit}')
  [ -n "$picture" ] || return 1
  x=$(xwininfo -id "$picture" | awk '/Absolute upper-left X/ {print $4}')
  y=$(xwininfo -id "$picture" | awk '/Absolute upper-left Y/ {print $4}')
  screenshot "$WORK/screen.png"
  convert "$WORK/screen.png" -crop "160x120+$x+$y" +repage "png:$WORK/area.png"
  compare -metric AE "$WORK/still.png" "$WORK/area.png" null: 2>/dev/null
}
wait_until 5 picture_shows_still || fail "the preview area does not show the still"
pass "the preview area shows the still"

press_in "Lilywade host" alt+s
wait_until 5 window_exists "Lilywade Settings" || fail "Settings... opened no settings dialog"
SETTINGS=$(program_pid /C)
CHILD_PIDS+=("$SETTINGS")
has_icon "Lilywade Settings" || fail "the settings dialog has no 32 x 32 icon"
press_in "Lilywade Settings" Escape
wait_until 5 ended "$SETTINGS" || fail "the settings dialog did not close"
pass "Settings... runs /C; the host and the dialog show the frog icon"

press_in "Lilywade host" alt+p
wait_until 5 window_exists frog || fail "Preview full screen opened no saver"
SAVER=$(program_pid /S)
CHILD_PIDS+=("$SAVER")
xdotool key space
wait_until 5 ended "$SAVER" || fail "the saver did not end on a key"
pass "Preview full screen runs /S"

kill "$HOST_PID"
wait_until 2 ended "$PREVIEW" || fail "the preview outlived its host"
pass "closing the host ends the preview"
