# Helpers of the end-to-end tests on GNOME's compositor, sourced after lib.sh:
# Mutter, or GNOME Shell in unsafe mode (its screenshots and Eval open to the
# test), headless with two virtual monitors, 1280x720 at 0,0 and 1024x768 at
# 1280,0; each on a session bus of the test's own, with keys, moves and clicks
# through its remote-desktop interface (the gnome_input tool). Everything runs
# as root: GNOME Shell on a system bus of the test's own, in a mount namespace
# without /run/systemd/seats (with them it expects logind and ends).
# With LILYWADE_COMPOSITORS=testing, GNOME Shell, its buses and gsettings are
# Debian testing's, in the testing root (testing_lib.sh), so that the buses
# start the root's services; the saver and the test's tools stay the host's.
# Usage in a test:  source lib.sh; source gnome_lib.sh; start_mutter

source "$(dirname "${BASH_SOURCE[0]}")/testing_lib.sh"

GNOME_INPUT="${2:?gnome_input}"
COMPOSITOR_PID=""
SYSTEM_BUS_PID=""
SESSION_BUS_PID=""
INPUT_PID=""
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_RUNTIME_DIR="$WORK/runtime"
export WAYLAND_DISPLAY=gnome-0 QT_QPA_PLATFORM=wayland
unset DISPLAY DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

gnome_cleanup() {
  stop_gnome
  cleanup
}
trap gnome_cleanup EXIT

# Ends the input tool, the compositor, its system bus (GNOME Shell's) and the
# session bus, each by its pid; the helpers the buses started (dconf, the
# accessibility bus, polkit) end with their bus.
stop_gnome() {
  # The clients the test started hold the input pipe open too: no end of
  # input reaches the input tool while they run.
  [ -n "$INPUT_PID" ] && exec {INPUT_FD}>&-
  local pid
  for pid in "$INPUT_PID" "$COMPOSITOR_PID" "$SYSTEM_BUS_PID" "$SESSION_BUS_PID"; do
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || continue
    kill "$pid" 2>/dev/null || true
    wait_until 5 not kill -0 "$pid" || kill -9 "$pid" 2>/dev/null || true
  done
  rm -f "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
  unset DBUS_SYSTEM_BUS_ADDRESS
  INPUT_PID="" COMPOSITOR_PID="" SYSTEM_BUS_PID="" SESSION_BUS_PID=""
}

# A bus of the test's own, $1 "session" or "system" (GNOME Shell needs both),
# its address in DBUS_SESSION_BUS_ADDRESS or DBUS_SYSTEM_BUS_ADDRESS. The
# session bus starts the desktop's services (dconf, the calendar server); the
# system bus none: the system's services (colord, UPower, polkit) expect
# systemd, and GNOME Shell 50 waits 25 s for colord where it hangs.
start_bus() {
  local socket="$WORK/$1-bus" upper="${1^^}" config=(--session)
  rm -f "$socket"
  if [ "$1" = system ]; then
    system_bus_config >"$WORK/system-bus.conf"
    config=(--config-file="$WORK/system-bus.conf")
  fi
  # The prefix, not compositor_side: a function run in the background would
  # leave in $! the pid of a subshell, and the bus would outlive the test.
  "${COMPOSITOR_SIDE[@]}" dbus-daemon "${config[@]}" --nofork --nopidfile --address="unix:path=$socket" >"$WORK/$1-bus.log" 2>&1 &
  printf -v "${upper}_BUS_PID" %s $!
  CHILD_PIDS+=($!)
  wait_until 10 test -S "$socket" || fail "no $1 bus: $(cat "$WORK/$1-bus.log")"
  export "DBUS_${upper}_BUS_ADDRESS=unix:path=$socket"
}

# A system bus open to every caller, with no services to start.
system_bus_config() {
  cat <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
}

# True while name $1 has an owner on the session bus.
bus_name_owned() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}

# Waits for the compositor's socket and its remote-desktop interface.
wait_for_compositor() { # NAME
  wait_until 30 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" \
    || fail "$1 did not start: $(tail -5 "$WORK/$1.log")"
  wait_until 30 bus_name_owned org.gnome.Mutter.RemoteDesktop \
    || fail "$1 offers no remote desktop: $(tail -5 "$WORK/$1.log")"
}

# Starts Mutter with the two monitors; STARTED_MS is the time it took.
start_mutter() {
  local started; started=$(now_ms)
  start_bus session
  mutter --headless --wayland --no-x11 --wayland-display="$WAYLAND_DISPLAY" \
    --virtual-monitor 1280x720 --virtual-monitor 1024x768 >"$WORK/mutter.log" 2>&1 &
  COMPOSITOR_PID=$!
  CHILD_PIDS+=("$COMPOSITOR_PID")
  wait_for_compositor mutter
  STARTED_MS=$(($(now_ms) - started))
}

# Starts GNOME Shell with the two monitors, banners off (as root it announces
# a "privileged user" above every window), no hot corner (the pointer's way
# to a place passes the top left corner), and waits until it has started,
# which it does in the overview; STARTED_MS is the time it took.
start_gnome_shell() {
  local started; started=$(now_ms)
  start_bus session
  compositor_side gsettings set org.gnome.desktop.notifications show-banners false \
    && compositor_side gsettings set org.gnome.desktop.interface enable-hot-corners false \
    || fail "gsettings failed: $(cat "$WORK/session-bus.log")"
  start_bus system
  # Out of sight of GNOME Shell only: the namespace's mount goes with it (the
  # testing root's /run is a tmpfs of its own anyway).
  local side=(unshare -m bash -c '[ ! -d /run/systemd ] || mount -t tmpfs tmpfs /run/systemd || exit 1; exec "$@"' -)
  [ "$COMPOSITORS" = host ] || side=("${COMPOSITOR_SIDE[@]}")
  "${side[@]}" gnome-shell --headless --wayland --no-x11 --wayland-display="$WAYLAND_DISPLAY" \
    --virtual-monitor 1280x720 --virtual-monitor 1024x768 --unsafe-mode >"$WORK/gnome-shell.log" 2>&1 &
  COMPOSITOR_PID=$!
  CHILD_PIDS+=("$COMPOSITOR_PID")
  wait_for_compositor gnome-shell
  wait_until 30 gnome_shell_started || fail "GNOME Shell did not start: $(tail -5 "$WORK/gnome-shell.log")"
  STARTED_MS=$(($(now_ms) - started))
}

# GNOME Shell 43 starts its input-method daemon (IBus) by a fork that runs
# JavaScript before the exec; that child can deadlock on a lock another
# thread held at the fork, and GNOME Shell then waits for it for ever (seen
# in about 1 of 4 starts on a busy machine; later versions fork without
# JavaScript). A child of GNOME Shell that is still a copy of it after two
# seconds is such a one: ending it lets GNOME Shell go on.
gnome_shell_started() {
  local pid age
  for pid in $(pgrep -P "$COMPOSITOR_PID" -x gnome-shell); do
    age=$(ps -o etimes= -p "$pid" | tr -d ' ')
    [ "${age:-0}" -ge 2 ] && kill -9 "$pid" 2>/dev/null && echo "test: ended deadlocked fork $pid" >>"$WORK/unstuck.log"
  done
  grep -q 'GNOME Shell started' "$WORK/gnome-shell.log"
}

# Starts the input tool on the compositor's session and waits for its devices.
start_input() {
  mkfifo "$WORK/input.fifo"
  "$GNOME_INPUT" <"$WORK/input.fifo" >"$WORK/input.out" 2>"$WORK/input.err" &
  INPUT_PID=$!
  CHILD_PIDS+=("$INPUT_PID")
  exec {INPUT_FD}>"$WORK/input.fifo"
  rm "$WORK/input.fifo"
  wait_until 10 grep -q '^ready' "$WORK/input.out" || fail "no input devices: $(cat "$WORK/input.err")"
}

# Runs an input command (key CODE, move DX DY, click) and waits until it went
# out; ACTED is the wall clock then (ms).
input() {
  local before; before=$(grep -c '^acted ' "$WORK/input.out" || true)
  echo "$*" >&"$INPUT_FD"
  wait_until 10 eval '[ "$(grep -c "^acted " "$WORK/input.out")" -gt "$before" ]' \
    || fail "input \"$*\" did not go out: $(cat "$WORK/input.err")"
  ACTED=$(awk '/^acted / {t = $2} END {print t}' "$WORK/input.out")
}

# Puts the pointer at $1,$2 of the layout, from its top left corner. A move
# that would leave every monitor stops at the edge of the pointer's monitor,
# so the way there goes to the left edge of the second monitor, one pixel
# into the first, and on to the corner.
pointer_to() {
  input move -5000 -5000
  input move -1 0
  input move -5000 -5000
  input move "$1" "$2"
}

# GNOME Shell's own calls (unsafe mode).
shell_eval() { gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval "$1"; }
overview_active() {
  gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.Get \
    org.gnome.Shell OverviewActive | grep -q true
}
# Writes what GNOME Shell shows, the whole layout without the cursor, as PNG to $1.
shell_screenshot() {
  gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell/Screenshot \
    -m org.gnome.Shell.Screenshot.Screenshot false false "$1" | grep -q true
}
