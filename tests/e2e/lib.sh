# Shared helpers of the end-to-end tests. Each test sources this file, runs
# on its own Xvfb server and cleans up after itself.
# Usage in a test:  source "$(dirname "$0")/lib.sh"; start_xvfb 1920x1080
set -euo pipefail

PROGRAM="${1:?usage: test.sh PATH/TO/Lilywade.scr}"
WORK="$(mktemp -d /tmp/lilywade-e2e.XXXXXX)"
XVFB_PID=""
OTHER_XVFB_PIDS=()
CHILD_PIDS=()

cleanup() {
  for pid in "${CHILD_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  for pid in "${OTHER_XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$WORK/program.err" ]; then echo "--- program stderr:" >&2; tail -20 "$WORK/program.err" >&2; fi
  exit 1
}
pass() { echo "ok: $*"; }

# Starts Xvfb with a free display number (chosen by the server itself) and a
# private HOME and store, so tests running side by side never meet.
# Usage: start_xvfb [SIZE [DEPTH]]   (DEPTH 24 unless given: 16 is 5-6-5
# TrueColor, 8 a palette of 256 PseudoColor entries)
start_xvfb() {
  local size="${1:-1024x768}" depth="${2:-24}"
  local fd_file; fd_file="$(mktemp "$WORK/display.XXXXXX")"
  # -noreset: by default the server resets when its last client leaves, and a
  # program started in that moment cannot connect.
  Xvfb -displayfd 3 -screen 0 "${size}x${depth}" -nolisten tcp -noreset \
    3>"$fd_file" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  local deadline=$((SECONDS + 20))
  # The server writes its display number and a newline once it is ready.
  until grep -q '^[0-9][0-9]*$' "$fd_file" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
}

# Starts one more Xvfb of size $1, with Xvfb's options $2...; leaves DISPLAY
# alone and puts the new server's display in $OTHER_DISPLAY.
start_other_xvfb() {
  local size="$1"; shift
  local fd_file; fd_file="$(mktemp "$WORK/display.XXXXXX")"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" \
    3>"$fd_file" 2>>"$WORK/xvfb-other.log" &
  OTHER_XVFB_PIDS+=($!)
  wait_until 20 grep -q '^[0-9][0-9]*$' "$fd_file" \
    || fail "another Xvfb did not start: $(cat "$WORK/xvfb-other.log")"
  OTHER_DISPLAY=":$(head -n1 "$fd_file")"
}

# Ends the server of start_xvfb, so that a test can start another one.
stop_xvfb() {
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

# Logs every window mapped at the top level from now on, as the root sees it;
# top_level_maps counts them (the first, a window of the watcher's own, too).
watch_top_level_maps() {
  stdbuf -oL xev -root -event substructure >"$WORK/maps.log" 2>/dev/null &
  CHILD_PIDS+=($!)
  disown $!
  # The watcher is listening once it has seen a window of our own come up.
  xmessage -name sync -title sync sync &
  local sync_pid=$!
  wait_until 10 grep -q '^MapNotify' "$WORK/maps.log" || fail "the map watcher did not start"
  kill "$sync_pid"; wait "$sync_pid" 2>/dev/null || true
}
top_level_maps() { grep -c '^MapNotify' "$WORK/maps.log" || true; }

# Waits until a command succeeds, polling every 20 ms; fails after $1 seconds.
wait_until() {
  local seconds="$1"; shift
  local deadline; deadline=$(($(date +%s%N) + seconds * 1000000000))
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.02
  done
}

# Negates a command, so that wait_until can wait for a state to end (a
# `bash -c "! ..."` would not see this file's functions):
#   wait_until 5 not window_exists frog
not() { ! "$@"; }

# Milliseconds since the epoch.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# True while a viewable window with exactly this title exists.
window_exists() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# True when the program's preview picture is a child of window $1 (Qt names
# the picture's window class after the program file).
holds_picture() {
  # grep reads to the end, so xwininfo never writes into a closed pipe.
  xwininfo -children -id "$1" 2>/dev/null | grep -F "\"$(basename "$PROGRAM")\"" >/dev/null
}

# Runs the program in the background; its pid is in $LAST_PID. It carries a
# mark in its environment, as every process it starts does in turn.
start_program() {
  env "$RUN_MARK" "$PROGRAM" "$@" >"$WORK/program.out" 2>"$WORK/program.err" &
  LAST_PID=$!
  CHILD_PIDS+=("$LAST_PID")
}
RUN_MARK="LILYWADE_E2E_RUN=$WORK"

# The processes that carry the mark of start_program, one "pid command" a line.
marked_processes() {
  local environ
  for environ in $(grep -lszxF "$RUN_MARK" /proc/[0-9]*/environ); do
    ps -o pid=,args= -p "$(basename "$(dirname "$environ")")" || true
  done
}

# Fails unless every process the test's programs started has ended with them
# (on a machine with dbus-x11 a session bus autolaunched for the toolkit
# would outlive them); call it when they have ended.
expect_nothing_left() {
  wait_until 3 eval '[ -z "$(marked_processes)" ]' || fail "processes outlive the program: $(marked_processes)"
}

# Waits up to $2 seconds for pid $1 to end; sets EXIT_STATUS. Fails if it does not.
wait_exit() {
  local pid="$1" seconds="$2"
  wait_until "$seconds" not kill -0 "$pid" || fail "process $pid still running after ${seconds}s"
  set +e; wait "$pid"; EXIT_STATUS=$?; set -e
}

# Pixels that differ between images (ImageMagick's absolute error count).
count() { compare -metric AE "$@" null: 2>&1 || true; }

# Pixels that differ between two images outside the given rectangles (x0,y0,x1,y1, inclusive).
differences_outside() { # IMAGE REFERENCE RECT...
  local a="$1" b="$2"; shift 2
  local draw=()
  for rect in "$@"; do draw+=(-draw "rectangle ${rect//,/ }"); done
  convert "$a" -fill black "${draw[@]}" "$WORK/outside-a.png"
  convert "$b" -fill black "${draw[@]}" "$WORK/outside-b.png"
  count "$WORK/outside-a.png" "$WORK/outside-b.png"
}

# Writes the whole screen as PNG to $1.
screenshot() { xwd -root -silent | convert xwd:- "png:$1"; }

# The keyboard, pointer and cursor as another client sees them; needs the
# input_probe tool in $PROBE.
grabbed() { ! "$PROBE" grab; }
cursor_pixels() { "$PROBE" cursor | sed 's/opaque=//'; }

# Starts the saver with the pointer mid-screen and waits until its window is
# up and it holds the input; its pid is in $SAVER. Needs $PROBE.
start_grabbing_saver() {
  xdotool mousemove 400 300
  start_program /S
  SAVER=$LAST_PID
  wait_until 10 window_exists frog || fail "no window \"frog\""
  wait_until 10 grabbed || fail "the saver does not hold the keyboard and the pointer"
}

# Covers the desktop with random blocks by the root_pattern tool $1, which
# also writes them to $WORK/pattern.png, and waits until they show.
patterned_desktop() {
  "$1" "$WORK/pattern.png" 3 &
  CHILD_PIDS+=($!)
  wait_until 10 test -f "$WORK/pattern.png" || fail "no desktop pattern"
}

# Splits the screen of a $1-wide Xvfb into two monitors side by side, as
# xrandr --listmonitors then shows them.
two_monitors() {
  local half=$(($1 / 2)) height="$2"
  local deadline=$((SECONDS + 10))
  until [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] \
      && xrandr --listmonitors | grep -q " left "; do
    [ $SECONDS -lt $deadline ] || fail "two monitors were not set up: $(xrandr --listmonitors)"
    xrandr --setmonitor right "$half/338x$height/270+$half+0" none >/dev/null 2>&1 || true
    xrandr --setmonitor left "$half/338x$height/270+0+0" screen >/dev/null 2>&1 || true
  done
}

# Starts openbox and waits until it manages the screen.
start_openbox() {
  openbox --sm-disable >/dev/null 2>&1 &
  CHILD_PIDS+=($!)
  wait_until 10 eval "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" \
    || fail "openbox did not start"
}

# The colour of the screen's pixel at $1,$2 as rrggbb.
pixel() { xwd -root -silent | convert xwd:- -format "%[hex:p{$1,$2}]" info: | tr 'A-F' 'a-f' | cut -c1-6; }

# Writes a WAV file $1 of $2 seconds of silence (16-bit mono, 22050 Hz).
silent_wav() {
  python3 -c 'import sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    w.writeframes(bytes(2 * int(22050 * float(sys.argv[2]))))' "$1" "$2"
}

# Writes the settings file: Speed $1, Sound $2, Blank $3 (0 or 1), no marks.
write_settings() {
  mkdir -p "$XDG_CONFIG_HOME/lilywade"
  printf '[Lilywade]\nStartup\\Hole=0\nStartup\\Streak=0\nStartup\\Sound=%s\nStartup\\blank=%s\nStartup\\Speed=%s\n' \
    "$2" "$3" "$1" >"$XDG_CONFIG_HOME/lilywade/settings.ini"
}

# The green frog's first four landings at frog scale 2, made while its target
# is still the top left corner: left, up, left, up, 60 frog pixels (120
# screen pixels) each from its start at (350, 350), sitting in frame 4 after
# a jump to the left and in frame 1 after one up. It sits at each while the
# red frog jumps (1.4 s at Speed 200).
DOUBLED_LANDINGS=("230 350 4" "230 230 1" "110 230 4" "110 110 1")
# Makes the doubled masks and sitting frogs of the art in folder $1.
prepare_doubled_landings() {
  local k
  for k in 1 4; do
    convert "$1/mask-$k.bmp" -sample 200% "PNG24:$WORK/mask-$k.png"
    convert "$1/green-$k.bmp" -sample 200% "$WORK/mask-$k.png" -compose lighten -composite \
      "PNG24:$WORK/sitting-$k.png"
  done
}
# True when image $1 shows the green frog at one of those landings, every
# pixel of the doubled silhouette the doubled art; sets LANDED to "x, y".
doubled_green_landed_in() {
  local landing x y k
  for landing in "${DOUBLED_LANDINGS[@]}"; do
    read -r x y k <<<"$landing"
    convert "$1" -crop "190x190+$x+$y" +repage "$WORK/mask-$k.png" -compose lighten -composite \
      "PNG24:$WORK/cell.png"
    if [ "$(count "$WORK/cell.png" "$WORK/sitting-$k.png")" = 0 ]; then LANDED="$x, $y"; return 0; fi
  done
  return 1
}
