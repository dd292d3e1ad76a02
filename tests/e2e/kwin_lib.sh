# Helpers of the end-to-end tests on KDE Plasma's KWin, sourced after
# wayland_lib.sh. KWin runs as nobody with a session bus of its own at
# $XDG_RUNTIME_DIR/bus, where its clients find it as on a systemd desktop.
# KWin serves its screen copies and its fake input only to programs named by
# an installed desktop entry (authorise_in_kwin).
# Debian 12's KWin 5.27 runs headless, from a plain copy of its binary: the
# packaged one carries a file capability (cap_sys_resource) that this kind of
# machine's bounding set lacks, and exec then fails. Debian testing's KWin
# (LILYWADE_COMPOSITORS=testing) runs in the testing root as packaged, nested
# as two windows of the root's headless sway: without a GPU it composites in
# software and cancels every copy of its own, so what it shows comes from
# grim, through sway. It matches an entry's program inside the root against
# the caller's path on the host, so the test's programs lie in the test's
# folder, whose path both share.
# Usage in a test:  source lib.sh; source wayland_lib.sh; source kwin_lib.sh

KWIN_TOOL="" # the test's tool (kwin_tool.cpp): copies, input, a patterned desktop
KWIN_APPS="$WL_DIR/home/.local/share/applications"
KWIN_CAPTURES="" # yes where KWin gives copies, no where it cancels them
SWAY_DISPLAY=""  # the socket of the sway KWin runs nested in

# Starts KWin with two outputs of $1 x $2 logical pixels each (times scale $3
# in pixels), side by side, and its session bus; returns once it answers a
# request for a copy, with pixels or Cancelled (KWIN_CAPTURES). Nested, the
# outputs take the size sway gives their windows.
start_kwin() {
  local kwin=("$WL_DIR/kwin_wayland" --virtual)
  if [ "$COMPOSITORS" = testing ]; then
    start_sway
    SWAY_DISPLAY=$WAYLAND_DISPLAY
    kwin=(kwin_wayland --wayland-display "$SWAY_DISPLAY")
  else
    prepare_wayland_dir
    cp /usr/bin/kwin_wayland "$WL_DIR/kwin_wayland"
  fi
  cp "$KWIN_TOOL" "$WL_DIR/kwin_tool"
  KWIN_TOOL="$WL_DIR/kwin_tool"
  mkdir -p "$KWIN_APPS"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
  start_compositor_side bus dbus-daemon --session --nofork --nopidfile --address="unix:path=$WL_RUNTIME/bus"
  wait_until 10 test -S "$WL_RUNTIME/bus" || fail "no session bus: $(cat "$WORK/bus.err")"
  local started; started=$(now_ms)
  # KWin looks for the bus only where the address names it.
  start_compositor_side kwin env DBUS_SESSION_BUS_ADDRESS="unix:path=$WL_RUNTIME/bus" "${kwin[@]}" \
    --width "$1" --height "$2" --scale "$3" --output-count 2 --socket kwin
  COMPOSITOR_PID=$LAST_PID
  wait_until 20 test -S "$WL_RUNTIME/kwin" || fail "KWin did not start: $(tail -5 "$WORK/kwin.err")"
  WAYLAND_DISPLAY=kwin
  KWIN_SOCKET_MS=$(($(now_ms) - started))
  authorise_in_kwin kwin_tool "$KWIN_TOOL" \
    "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2" "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input"
  # Its D-Bus interfaces come a little after its socket.
  wait_until 20 kwin_answers || fail "KWin answers no copy: $(tail -5 "$WORK/kwin.err"; cat "$WORK/shot.err")"
  KWIN_READY_MS=$(($(now_ms) - started))
}

# True once KWin answers a request for a copy of its outputs through
# ScreenShot2, with pixels (KWIN_CAPTURES=yes, written to $WORK/screenshot2.png)
# or Cancelled (no).
kwin_answers() {
  if as_nobody "$KWIN_TOOL" shot "$WL_DIR/shot.png" 2>"$WORK/shot.err"; then
    mv "$WL_DIR/shot.png" "$WORK/screenshot2.png"
    KWIN_CAPTURES=yes
  elif grep -q '\.Cancelled$' "$WORK/shot.err"; then
    KWIN_CAPTURES=no
  else
    return 1
  fi
}

# Writes a hidden desktop entry $1 naming program $2, with the lines $3... .
authorise_in_kwin() {
  local name="$1" program="$2"; shift 2
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nNoDisplay=true\n' "$name" "$program" \
    >"$KWIN_APPS/$name.desktop"
  printf '%s\n' "$@" >>"$KWIN_APPS/$name.desktop"
  chown "$NOBODY:$NOBODY" "$KWIN_APPS/$name.desktop"
}

# Writes what KWin's outputs show, as PNG, to $1 (the whole layout in its
# pixels): KWin's own copy, or nested, grim's copy of its two windows side by side.
kwin_capture() {
  if [ -n "$SWAY_DISPLAY" ]; then
    local geometry parts=()
    while read -r geometry; do
      parts+=("$WL_DIR/part-${#parts[@]}.png")
      WAYLAND_DISPLAY=$SWAY_DISPLAY tool_as_nobody grim -g "$geometry" - >"${parts[-1]}" 2>/dev/null || return 1
    done < <(kwin_windows)
    [ "${#parts[@]}" = 2 ] && convert "${parts[@]}" +append "PNG24:$1"
  else
    as_nobody "$KWIN_TOOL" shot "$WL_DIR/shot.png" && mv "$WL_DIR/shot.png" "$1"
  fi
}

# The places in sway of nested KWin's output windows, inside their frames,
# one "X,Y WxH" a line, in the order of KWin's outputs.
kwin_windows() {
  WAYLAND_DISPLAY=$SWAY_DISPLAY tool_as_nobody swaymsg -t get_tree | python3 -c '
import json, sys
def nodes(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from nodes(child)
windows = sorted((n["name"], n["rect"], n["window_rect"]) for n in nodes(json.load(sys.stdin))
                 if (n.get("name") or "").startswith("KDE Wayland Compositor"))
for name, frame, inside in windows:
    print("%d,%d %dx%d" % (frame["x"] + inside["x"], frame["y"] + inside["y"], inside["width"], inside["height"]))'
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
