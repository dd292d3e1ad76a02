# Preview: the still shows pixel for pixel at (0, 0) of the host's window and
# nothing else changes; the program ends with status 0 soon after that window
# goes, or at its first check when the id names no window; it never maps a
# window of its own at the top level.
# Usage: preview.sh Lilywade.scr host_window preview.bmp
source "$(dirname "$0")/lib.sh"
HOST_TOOL="${2:?host_window tool}"
STILL_BMP="${3:?preview still}"
start_xvfb 640x480
convert "$STILL_BMP" "png:$WORK/still.png"

watch_top_level_maps

ended() { ! kill -0 "$1" 2>/dev/null || grep -q '^State:.*Z' "/proc/$1/status"; }
# True when pid $1 is still running after $2 ms (watched all along).
runs_for() {
  local deadline=$(($(now_ms) + $2))
  while [ "$(now_ms)" -lt "$deadline" ]; do ended "$1" && return 1; sleep 0.05; done
}

# Starts the test host with a preview area of $1 x $2 pixels; its id in $AREA,
# its top-left corner on the screen in $AREA_X, $AREA_Y.
start_host() {
  coproc HOST { exec "$HOST_TOOL" "$1" "$2"; }
  CHILD_PIDS+=("$HOST_PID")
  read -r -t 10 -u "${HOST[0]}" AREA || fail "no id from the test host"
  wait_until 5 window_exists "test host" || fail "test host did not appear"
  local info; info=$(xwininfo -id "$AREA")
  AREA_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  AREA_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}
destroy_area() { echo destroy >&"${HOST[1]}"; }
end_host() { exec {HOST[1]}>&-; wait "$HOST_PID" 2>/dev/null || true; }

# Takes the screen until it stops changing (the host has painted); into $1.
settled_screenshot() {
  screenshot "$1"
  local deadline=$(($(now_ms) + 5000))
  while :; do
    sleep 0.1
    screenshot "$1.next"
    compare -metric AE "$1" "$1.next" null: 2>/dev/null && break
    mv "$1.next" "$1"
    [ "$(now_ms)" -lt "$deadline" ] || fail "the screen never settled"
  done
  rm -f "$1.next"
}

# The screen as it must look: $1 with the still's top-left $2 x $3 part at the area.
expected_screen() {
  convert "$1" \( "$WORK/still.png" -crop "$2x$3+0+0" +repage \) \
    -geometry "+$AREA_X+$AREA_Y" -composite "png:$4"
}
screen_is() { screenshot "$WORK/now.png"; compare -metric AE "$1" "$WORK/now.png" null: 2>/dev/null; }

# Shows the preview in an area of $1 x $2 and checks the screen pixel for pixel.
check_embedding() {
  local width="$1" height="$2" shown_w=$(( $1 < 160 ? $1 : 160 )) shown_h=$(( $2 < 120 ? $2 : 120 ))
  start_host "$width" "$height"
  settled_screenshot "$WORK/before.png"
  expected_screen "$WORK/before.png" "$shown_w" "$shown_h" "$WORK/expected.png"
  start_program /P "$AREA"
  PREVIEW_PID=$LAST_PID
  wait_until 5 screen_is "$WORK/expected.png" || {
    echo "differing pixels: $(compare -metric AE "$WORK/expected.png" "$WORK/now.png" null: 2>&1)" >&2
    fail "${width}x$height: the screen is not the host with the still's top-left ${shown_w}x$shown_h at (0, 0)"
  }
  # It stays while the area is there, checking quietly.
  runs_for "$PREVIEW_PID" 1300 || fail "${width}x$height: preview ended while its host was up"
  screen_is "$WORK/expected.png" || fail "${width}x$height: the screen changed later"
  pass "${width}x$height host: the still's top-left ${shown_w}x$shown_h at (0, 0), nothing else changed"
}

maps_before=$(top_level_maps)
check_embedding 200 150
[ "$(top_level_maps)" -eq $((maps_before + 1)) ] || fail "a window other than the host's was mapped at the top level"
destroy_area
start=$(now_ms)
wait_until 5 ended "$PREVIEW_PID" || fail "preview still running 5 s after its area was destroyed"
elapsed=$(( $(now_ms) - start ))
wait_exit "$PREVIEW_PID" 1
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS after the area was destroyed"
# One check every 400 ms: well under a second when idle; the bound leaves a
# loaded machine its margin and the time is printed.
[ "$elapsed" -le 3000 ] || fail "ended ${elapsed} ms after the area was destroyed"
[ ! -s "$WORK/program.err" ] || fail "printed: $(cat "$WORK/program.err")"
pass "area destroyed: ended after ${elapsed} ms, status 0, nothing printed"
DEAD_AREA=$AREA
end_host

# A host smaller than the still clips it; the host's end (its whole
# connection going) ends the preview as well.
check_embedding 100 80
end_host
wait_exit "$PREVIEW_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "status $EXIT_STATUS after the host ended"
pass "host ended: preview ended with status 0"

# No window to embed into: the first check ends the program.
wait_until 5 not window_exists "test host" || fail "host still up"
maps_before=$(top_level_maps)
for arguments in "/P" "/p 0" "/P $DEAD_AREA" "/p 1234567"; do
  start=$(now_ms)
  # shellcheck disable=SC2086 # the arguments are split on purpose
  start_program $arguments
  wait_until 5 ended "$LAST_PID" || fail "'$arguments' still running after 5 s"
  elapsed=$(( $(now_ms) - start ))
  wait_exit "$LAST_PID" 1
  [ "$EXIT_STATUS" -eq 0 ] || fail "'$arguments' exited with $EXIT_STATUS"
  [ "$elapsed" -le 3000 ] || fail "'$arguments' took ${elapsed} ms" # margin for a loaded machine
  [ "$elapsed" -ge 350 ] || fail "'$arguments' ended after ${elapsed} ms, before its first check"
  [ ! -s "$WORK/program.err" ] || fail "'$arguments' printed: $(cat "$WORK/program.err")"
  pass "'$arguments' ends after ${elapsed} ms with status 0"
done
[ "$(top_level_maps)" -eq "$maps_before" ] || fail "a window was mapped at the top level: $(grep MapNotify "$WORK/maps.log")"
pass "no window mapped at the top level without a host"
