# Helpers of the end-to-end tests on KDE Plasma's KWin (5.27, headless),
# sourced after wayland_lib.sh. KWin runs as nobody with a session bus of its
# own at $XDG_RUNTIME_DIR/bus, where its clients find it as on a systemd
# desktop. It runs from a plain copy of its binary: the packaged one carries a
# file capability (cap_sys_resource) that this kind of machine's bounding set
# lacks, and exec then fails. KWin serves its screen copies and its fake input
# only to programs named by an installed desktop entry (authorise_in_kwin).
# Usage in a test:  source lib.sh; source wayland_lib.sh; source kwin_lib.sh

KWIN_TOOL="" # the test's tool (kwin_tool.cpp): copies, input, a patterned desktop
KWIN_APPS="$WL_DIR/home/.local/share/applications"

# Starts headless KWin with two outputs of $1 x $2 logical pixels each (times
# scale $3 in pixels), side by side, and its session bus; returns once its
# copies work.
start_kwin() {
  prepare_wayland_dir
  cp /usr/bin/kwin_wayland "$WL_DIR/kwin_wayland"
  mkdir -p "$KWIN_APPS"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
  start_client bus dbus-daemon --session --nofork --nopidfile --address="unix:path=$WL_RUNTIME/bus"
  wait_until 10 test -S "$WL_RUNTIME/bus" || fail "no session bus: $(cat "$WORK/bus.err")"
  local started; started=$(now_ms)
  # KWin looks for the bus only where the address names it.
  start_client kwin env DBUS_SESSION_BUS_ADDRESS="unix:path=$WL_RUNTIME/bus" "$WL_DIR/kwin_wayland" --virtual --width "$1" --height "$2" --scale "$3" \
    --output-count 2 --socket kwin
  COMPOSITOR_PID=$LAST_PID
  wait_until 20 test -S "$WL_RUNTIME/kwin" || fail "KWin did not start: $(tail -5 "$WORK/kwin.err")"
  WAYLAND_DISPLAY=kwin
  KWIN_SOCKET_MS=$(($(now_ms) - started))
  authorise_in_kwin kwin_tool "$KWIN_TOOL" \
    "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2" "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input"
  # Its D-Bus interfaces come a little after its socket.
  wait_until 20 kwin_capture "$WORK/kwin-up.png" || fail "KWin gives no copies: $(tail -5 "$WORK/kwin.err")"
  KWIN_READY_MS=$(($(now_ms) - started))
}

# Writes a hidden desktop entry $1 naming program $2, with the lines $3... .
authorise_in_kwin() {
  local name="$1" program="$2"; shift 2
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nNoDisplay=true\n' "$name" "$program" \
    >"$KWIN_APPS/$name.desktop"
  printf '%s\n' "$@" >>"$KWIN_APPS/$name.desktop"
  chown "$NOBODY:$NOBODY" "$KWIN_APPS/$name.desktop"
}

# Writes what KWin's outputs show, as PNG, to $1 (the whole layout in its pixels).
kwin_capture() {
  as_nobody "$KWIN_TOOL" shot "$WL_DIR/shot.png" && mv "$WL_DIR/shot.png" "$1"
}

# Puts up a full-screen window on each output, in random blocks of colour;
# unfocused_since tells when the keyboard left them (a surface above took it).
start_kwin_pattern() {
  start_client pattern env QT_QPA_PLATFORM=wayland "$KWIN_TOOL" pattern
  wait_until 20 grep -q '^shown' "$WORK/pattern.out" || fail "no pattern windows: $(tail -3 "$WORK/pattern.err")"
}

# Keeps a fake input device for the rest of the test: KWin's seat has a
# pointer only while one is there, and a device made for a click alone would
# press its button before any client got the pointer.
hold_kwin_pointer() {
  start_client holder "$KWIN_TOOL" input hold 600000
  wait_until 10 grep -q '^held' "$WORK/holder.out" || fail "no fake input: $(cat "$WORK/holder.err")"
}

# Makes KWin's fake input device act ($@: kwin_tool's input actions), and
# sets ACTED to the wall clock (ms) once KWin has them.
kwin_input() {
  as_nobody "$KWIN_TOOL" input "$@" >"$WORK/input.out" 2>"$WORK/input.err" \
    || fail "no fake input: $(cat "$WORK/input.err")"
  ACTED=$(awk '/^acted / {print $2}' "$WORK/input.out")
}

# Waits until the pattern windows lose the keyboard after wall clock $1 (ms)
# and sets UNFOCUSED_MS to the time from $1.
unfocused_since() {
  local at
  wait_until 10 eval "awk -v t=$1 '/^unfocused / && \$2 >= t {found=1} END {exit !found}' \"\$WORK/pattern.out\"" \
    || fail "the pattern windows kept the keyboard"
  at=$(awk -v t="$1" '/^unfocused / && $2 >= t {print $2; exit}' "$WORK/pattern.out")
  UNFOCUSED_MS=$((at - $1))
}
