# Helpers of the end-to-end tests on Wayland compositors, sourced after
# lib.sh. sway refuses to run as root, so the compositors and their clients
# run as user nobody, in a folder of the test's own; captures with grim,
# keys with wtype.
# Usage in a test:  source lib.sh; source wayland_lib.sh; start_sway
# With LILYWADE_COMPOSITORS=testing, sway and its tools (swaymsg, grim, wtype)
# are Debian testing's (testing_lib.sh); the programs under test stay the host's.

source "$(dirname "${BASH_SOURCE[0]}")/testing_lib.sh"

NOBODY=65534
WL_DIR="$WORK/wayland"              # nobody's: HOME, XDG_RUNTIME_DIR, configuration
WL_RUNTIME="$WL_DIR/runtime"
COMPOSITOR_PID=""
export WAYLAND_DISPLAY="" SWAYSOCK=""

# The compositor first, asked to end so that it ends its own helpers (swaybar,
# swaybg); lib.sh's clean-up then kills what is left and removes $WORK.
wayland_cleanup() {
  if [ -n "$COMPOSITOR_PID" ] && kill -0 "$COMPOSITOR_PID" 2>/dev/null; then
    local helpers; helpers=$(pgrep -P "$COMPOSITOR_PID" || true)
    kill "$COMPOSITOR_PID" 2>/dev/null || true
    wait_until 3 not kill -0 "$COMPOSITOR_PID" || kill -9 "$COMPOSITOR_PID" 2>/dev/null || true
    for pid in $helpers; do kill -9 "$pid" 2>/dev/null || true; done
  fi
  kill_session_leftovers
  cleanup
}

# Kills every process still in the test's session, found by its runtime folder:
# a helper the compositor started and that lost its parent (a swaybar) would
# spin on without its folder and load the machine.
kill_session_leftovers() {
  local environ pid
  for environ in $(grep -lszxF "XDG_RUNTIME_DIR=$WL_RUNTIME" /proc/[0-9]*/environ); do
    pid=$(basename "$(dirname "$environ")")
    [ "$pid" = $$ ] || kill -9 "$pid" 2>/dev/null || true
  done
}
trap wayland_cleanup EXIT

prepare_wayland_dir() {
  # nobody must reach its folder inside the test's folder.
  chmod 755 "$WORK"
  mkdir -p "$WL_DIR/home" "$WL_RUNTIME"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR"
  chmod 700 "$WL_RUNTIME"
}

# The command prefix that runs a program as nobody in the compositor's session.
nobody_prefix() {
  NOBODY_PREFIX=(setpriv --reuid=$NOBODY --regid=$NOBODY --clear-groups env -i HOME="$WL_DIR/home"
    XDG_RUNTIME_DIR="$WL_RUNTIME" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" SWAYSOCK="$SWAYSOCK" PATH=/usr/bin:/bin)
}

# Runs a command as nobody in the compositor's session.
as_nobody() { nobody_prefix; "${NOBODY_PREFIX[@]}" "$@"; }
# The same for a tool of the compositor's release (swaymsg, grim, wtype).
tool_as_nobody() { nobody_prefix; "${COMPOSITOR_SIDE[@]}" "${NOBODY_PREFIX[@]}" "$@"; }

# Starts a client as nobody in the background, output to $WORK/NAME.out and
# NAME.err; its pid in $LAST_PID (setpriv and env exec it, so signals reach it).
start_client() {
  local name="$1"; shift
  nobody_prefix
  "${NOBODY_PREFIX[@]}" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" &
  LAST_PID=$!
  CHILD_PIDS+=("$LAST_PID")
}

# The same for a program of the compositor's release (its bus, a nested compositor).
start_compositor_side() {
  local name="$1"; shift
  nobody_prefix
  "${COMPOSITOR_SIDE[@]}" "${NOBODY_PREFIX[@]}" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" &
  LAST_PID=$!
  CHILD_PIDS+=("$LAST_PID")
}

# The first Wayland socket in the session's runtime folder.
wayland_socket() { find "$WL_RUNTIME" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n1; }

# A PNG of W x H in random 40-pixel blocks: $1 file, $2 size.
block_pattern() {
  local w="${2%x*}" h="${2#*x}"
  convert -size "$(((w + 39) / 40))x$(((h + 39) / 40))" xc: +noise Random -scale 4000% \
    -crop "${2}+0+0" +repage "PNG24:$1"
}

# Starts headless sway with HEADLESS-1 at 1280x720 at 0,0 and HEADLESS-2 at
# 1024x768 at 1280,0 (a third one, if made, gets 800x600 at 2304,0), each
# with its own block pattern as background ($WL_DIR/background-N.png) and a
# bar, and waits until both show them. The bar's status command ends at once,
# so the bar shows a fixed error text: no clock changes a picture. Its
# background is blue, so that no pixel of it is black. (An empty "bar {"
# block makes no bar at all.)
start_sway() {
  prepare_wayland_dir
  block_pattern "$WL_DIR/background-1.png" 1280x720
  block_pattern "$WL_DIR/background-2.png" 1024x768
  block_pattern "$WL_DIR/background-3.png" 800x600
  cat >"$WL_DIR/sway.conf" <<CONF
output HEADLESS-1 resolution 1280x720 position 0 0 bg $WL_DIR/background-1.png fill
output HEADLESS-2 resolution 1024x768 position 1280 0 bg $WL_DIR/background-2.png fill
output HEADLESS-3 resolution 800x600 position 2304 0 bg $WL_DIR/background-3.png fill
bar {
  status_command echo lilywade
  colors {
    background #3366cc
  }
}
CONF
  chown -R "$NOBODY:$NOBODY" "$WL_DIR"
  "${COMPOSITOR_SIDE[@]}" setpriv --reuid=$NOBODY --regid=$NOBODY --clear-groups env -i HOME="$WL_DIR/home" \
    XDG_RUNTIME_DIR="$WL_RUNTIME" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    PATH=/usr/bin:/bin sway -c "$WL_DIR/sway.conf" >"$WORK/sway.log" 2>&1 &
  COMPOSITOR_PID=$!
  CHILD_PIDS+=("$COMPOSITOR_PID")
  wait_until 30 eval 'ls "$WL_RUNTIME"/sway-ipc.*.sock' || fail "sway did not start: $(tail -5 "$WORK/sway.log")"
  SWAYSOCK="$(ls "$WL_RUNTIME"/sway-ipc.*.sock)"
  WAYLAND_DISPLAY="$(wayland_socket)"
  add_sway_output
  wait_until 30 desktop_shown HEADLESS-1 1 || fail "HEADLESS-1 shows no background and bar: $(sway_state)"
  wait_until 30 desktop_shown HEADLESS-2 2 || fail "HEADLESS-2 shows no background and bar: $(sway_state)"
}

# What went wrong when sway shows no desktop: the last capture, sway's log and clients.
sway_state() {
  local running=ended
  kill -0 "$COMPOSITOR_PID" 2>/dev/null && running=runs
  echo "$SHOWN; sway $running; clients: $(pgrep -l -P "$COMPOSITOR_PID" | tr '\n' ' ')"
  tail -5 "$WORK/sway.log"
}

# Makes the next headless output (HEADLESS-2, then HEADLESS-3).
add_sway_output() { tool_as_nobody swaymsg create_output >/dev/null || fail "swaymsg create_output failed"; }

# True when output $1 shows background-$2.png, most of it, and a bar over part of it.
desktop_shown() {
  SHOWN="no capture"
  capture "$WORK/shown.png" "$1" || return 1
  local differing; differing=$(differing_pixels "$WORK/shown.png" "$WL_DIR/background-$2.png")
  local size; size=$(identify -format '%w*%h' "$WORK/shown.png")
  SHOWN="$differing of $size pixels differ from the background"
  [ "$differing" -gt 0 ] && [ "$differing" -lt $(($size / 10)) ]
}

# Starts headless Weston of $1 x $2 pixels, its socket named $WESTON_SOCKET
# (wayland-w unless set); more arguments go to Weston (--debug lets
# weston_capture take screenshots).
start_weston() {
  prepare_wayland_dir
  WAYLAND_DISPLAY=${WESTON_SOCKET:-wayland-w}
  start_client weston weston --backend=headless-backend.so --use-pixman --width="$1" --height="$2" \
    --socket="$WAYLAND_DISPLAY" "${@:3}"
  COMPOSITOR_PID=$LAST_PID
  wait_until 10 test -S "$WL_RUNTIME/$WAYLAND_DISPLAY" || fail "weston did not start: $(tail -5 "$WORK/weston.err")"
}

# Kills the compositor at once, as a crash would; its helpers end with their connection.
kill_compositor() {
  local helpers; helpers=$(pgrep -P "$COMPOSITOR_PID" || true)
  kill -9 "$COMPOSITOR_PID"
  wait "$COMPOSITOR_PID" 2>/dev/null || true
  for pid in $helpers; do
    wait_until 3 not kill -0 "$pid" || kill -9 "$pid" 2>/dev/null || true
  done
  COMPOSITOR_PID=""
}

# Kills the compositor and checks that client $1 (named $2 in messages) ends
# with status 1 within 5 s, as on X11 when the server goes; passes with the time.
expect_end_when_compositor_goes() { # PID NAME
  local gone_at; gone_at=$(now_ms)
  kill_compositor
  wait_until 5 not kill -0 "$1" || fail "the $2 still runs 5 s after the compositor went"
  wait_exit "$1" 1
  [ "$EXIT_STATUS" = 1 ] || fail "compositor gone: the $2 ended with status $EXIT_STATUS"
  pass "the compositor going away ends the $2 with status 1 after $(($(now_ms) - gone_at)) ms"
}

# Writes what the compositor shows as PNG to $1: the whole layout, or output $2 in its own pixels.
capture() { tool_as_nobody grim ${2:+-o "$2"} - >"$1" 2>/dev/null; }

# Writes what Weston (started with --debug) shows as PNG to $1.
weston_capture() {
  local shots="$WL_DIR/shots"
  as_nobody mkdir -p "$shots"
  rm -f "$shots"/wayland-screenshot-*.png
  (cd "$shots" && as_nobody weston-screenshooter >/dev/null 2>&1) || return 1
  convert "$shots"/wayland-screenshot-*.png "PNG24:$1"
}

# Types text $1 at once, as a keyboard that comes with its first key does:
# wtype's virtual keyboard is new at every call.
type_keys() { tool_as_nobody wtype "$1"; }

# Puts a keyboard on the seat that types nothing and stays, as the user's own
# keyboard does (a wtype that only sleeps), until $KEYBOARD is killed.
start_resting_keyboard() {
  nobody_prefix
  "${COMPOSITOR_SIDE[@]}" "${NOBODY_PREFIX[@]}" wtype -s 600000 >"$WORK/keyboard.out" 2>"$WORK/keyboard.err" &
  KEYBOARD=$!
  CHILD_PIDS+=("$KEYBOARD")
  wait_until 5 seat_has_keyboard || fail "the seat has no keyboard: $(tail -3 "$WORK/keyboard.err")"
}
seat_has_keyboard() { tool_as_nobody swaymsg -t get_seats | grep -q '"capabilities": [2367]'; }

# The number of pixels in which two images differ.
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# Writes the part $2 (WxH+X+Y) of image $1 to $3.
crop() { convert "$1" -crop "$2" +repage "PNG24:$3"; }

# True when image $1 is black all over.
all_black() { [ "$(convert "$1" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" = 0 ]; }

# lilywade-idle ($IDLE, its pid) and the savers it starts. Times are in
# milliseconds since boot, the clock of the processes' start times.
uptime_ms() { local up; read -r up _ </proc/uptime; echo $((10#${up/./} * 10)); }
started_ms() { echo $(($(cut -d' ' -f22 "/proc/$1/stat") * 1000 / $(getconf CLK_TCK))); }
idle_saver() { pgrep -P "$IDLE" -x Lilywade.scr; }

# Waits for lilywade-idle's next saver, its pid in $SAVER, and checks that it
# started 2 s after the quiet began: not before $1 + 1.89 s (KWin's timers are
# coarse, up to 5 % early, and the clock counts in 10 ms), not after $2 + 3.5 s;
# sets SAVER_MS to its start from $1. ($1 is taken before the last input or
# release, $2 after it.)
expect_idle_saver() { # FROM TO
  wait_until $((($2 - $1) / 1000 + 8)) idle_saver || fail "no saver within 8 s: $(tail -3 "$WORK/idle.err")"
  SAVER=$(idle_saver)
  local started; started=$(started_ms "$SAVER")
  SAVER_MS=$((started - $1))
  [ "$SAVER_MS" -ge 1890 ] || fail "the saver came $SAVER_MS ms after the quiet began, before the 2 s"
  [ $((started - $2)) -le 3500 ] || fail "the saver came $((started - $2)) ms after the quiet began, 1.5 s late"
}

# Checks that no saver comes for $1 seconds.
expect_no_saver() { ! wait_until "$1" idle_saver || fail "a saver came: $2"; }

# True when the compositor shows image $1 with frogs on it: it differs in
# some pixels, no more than two frogs ($FROG_PIXELS) cover. The capture is in $WORK/now.png.
shows_frogs_on() {
  capture "$WORK/now.png" || return 1
  local differing; differing=$(differing_pixels "$WORK/now.png" "$1")
  [ "$differing" -gt 0 ] && [ "$differing" -le "$FROG_PIXELS" ]
}
wait_for_frogs_on() {
  wait_until 10 shows_frogs_on "$1" || fail "no frogs on $(basename "$1"): $(tail -3 "$WORK/saver.err")"
}

# Puts up the idle-inhibitor test window ($1) and waits until it holds the
# compositor's inhibitor; its pid in $HOLDER.
start_inhibitor() {
  start_client inhibitor "$1"
  HOLDER=$LAST_PID
  wait_until 10 grep -q '^inhibiting' "$WORK/inhibitor.out" || fail "no inhibitor: $(cat "$WORK/inhibitor.err")"
}

# The held inhibitor keeps lilywade-idle's saver away; once it lets go the
# saver comes after the chosen 2 s (its pid in $SAVER).
expect_inhibitor_keeps_saver_away() {
  expect_no_saver 4 "the inhibitor did not keep it away"
  pass "a window holding an idle inhibitor keeps the saver away (4 s of a 2 s timeout)"
  local from; from=$(uptime_ms); kill -USR1 "$HOLDER"
  wait_until 5 grep -q '^released' "$WORK/inhibitor.out" || fail "the inhibitor was not released"
  expect_idle_saver "$from" "$(uptime_ms)"
  pass "the saver comes $SAVER_MS ms after the inhibitor let go"
}
