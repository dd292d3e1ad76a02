# A host window for the hack tests, sourced after lib.sh: a window of 400 x 300
# at 64,46 inside a top-level of 320 x 240 at 40,30, which shows 296 x 224 of
# it, and ways to look at what shows there. Needs $HOST (host_window) and
# $CLIENT (desktop_client).

# Starts the host; its window id is in $HOST_ID, and "destroy" on fd 7 ends it.
start_host() {
  mkfifo "$WORK/host.in"
  # A toolkit program of the test's own: it starts no session bus (D-Bus
  # autolaunch), behind which one the hack started would hide.
  DBUS_SESSION_BUS_ADDRESS=disabled: "$HOST" 400 300 <"$WORK/host.in" >"$WORK/host.out" 2>/dev/null &
  CHILD_PIDS+=($!)
  exec 7>"$WORK/host.in"
  rm "$WORK/host.in"
  wait_until 10 grep -q '^[0-9]' "$WORK/host.out" || fail "no host window"
  HOST_ID=$(head -n1 "$WORK/host.out")
  wait_until 10 eval 'xwininfo -id "$HOST_ID" | grep -q IsViewable' || fail "the host window is not shown"
}

# Leaves a copy of the screen on the host window, as XScreenSaver does.
store_screenshot() {
  "$CLIENT" screenshot "$HOST_ID" >"$WORK/shot.out" &
  CHILD_PIDS+=($!)
  wait_until 10 grep -q stored "$WORK/shot.out" || fail "no screenshot property"
}

# The part of the host window that shows, of screen image $1, as image $2.
VISIBLE=$((296 * 224))
inside() { convert "$1" -crop 296x224+64+46 +repage "$2"; }
# Black pixels of image $1.
black_pixels() {
  convert "$1" -fill white +opaque black -fill black -opaque black -negate -format '%[fx:int(mean*w*h+0.5)]' info:
}
# Pixels of image $1 in the host's own green.
host_green_pixels() {
  convert "$1" -fill black +opaque '#14a03c' -fill white -opaque '#14a03c' -format '%[fx:int(mean*w*h)]' info:
}
# The ground: the whole screen scaled into 400 x 300, so neither black nor the host's stripes.
ground_shown() {
  screenshot "$WORK/now.png"; inside "$WORK/now.png" "$WORK/in.png"
  [ "$(black_pixels "$WORK/in.png")" -lt $((VISIBLE / 10)) ] \
    && [ "$(host_green_pixels "$WORK/in.png")" -lt 1000 ]
}
# Frogs on black: two frogs cover at most 2 x 95 x 95 pixels; both show.
frogs_on_black() {
  screenshot "$WORK/now.png"; inside "$WORK/now.png" "$WORK/in.png"
  local black; black=$(black_pixels "$WORK/in.png")
  [ "$black" -ge $((VISIBLE - 18050)) ] && [ "$black" -lt $((VISIBLE - 500)) ]
}
# The host's own stripes, with no hack's window over them.
host_bare() {
  screenshot "$WORK/now.png"; inside "$WORK/now.png" "$WORK/in.png"
  [ "$(host_green_pixels "$WORK/in.png")" -gt $((VISIBLE / 3)) ]
}
