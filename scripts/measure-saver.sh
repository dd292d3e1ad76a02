#!/usr/bin/env bash
# Measures the saver on Xvfb (figures, not a test):
#   1. CPU time of the program per animation frame at 1920x1080 and 3840x2160
#      (median of five runs each, the sizes taking turns)
#      (Speed 1, so frames come fast; frames counted as the flushes of the X
#      connection, one per frame put on screen, traced with strace);
#   2. time from process start to the first full-screen frame at both sizes
#      ("Blank Screen" on, so the frame is told from the desktop by its black);
#   3. memory at both sizes while running (Speed 50): PSS, the proportional set
#      size that counts shared library pages once among the processes that map
#      them, and RSS, which counts them whole;
#   4. CPU use of the program plus the X server while running at Speed 50.
# Usage: scripts/measure-saver.sh [BUILD_DIR]   (default: build/; needs strace)
# SECONDS_PER_RUN (default 10) sets the length of the runs for 1 and 4; PARTS
# (default "1 2 3 4") which parts run. MODE=hack measures 1, 3 and 4 for
# lilywade instead, in a host window covering the screen with the host's copy
# of the screen on it, as XScreenSaver runs it on one monitor. DEPTH (default
# 24) sets the screen's depth: 16 measures a 5-6-5 screen, where each frame
# is converted. FROG_SCALE=N loads Xft.dpi 96 N, so the frogs are drawn N
# times their size. MODE=wayland measures 1, 3 and 4 for the saver natively on
# headless sway (one output of the size, run as user nobody, as sway refuses
# root): frames counted as the sendmsg calls on the Wayland socket, the
# compositor's share in place of the X server's (at Speed 1 these calls come at
# about twice the rate of the X11 flushes, so a "frame" there is one send);
# part 2 needs an X probe and is left out.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
PROGRAM="$BUILD/Lilywade.scr"
MODE="${MODE:-saver}"
PROBES="$BUILD/tests/probes"
RUN_SECONDS="${SECONDS_PER_RUN:-10}"
WORK="$(mktemp -d /tmp/lilywade-measure.XXXXXX)"
PIDS=()

cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT
die() { echo "measure-saver: $*" >&2; exit 1; }

TOOLS=("$PROGRAM" "$PROBES/root_pattern" "$PROBES/first_frame_probe")
[ "$MODE" = hack ] && TOOLS+=("$BUILD/lilywade" "$BUILD/tests/desktop_client")
for tool in "${TOOLS[@]}"; do
  [ -x "$tool" ] || die "$tool missing: build with tests enabled first"
done
command -v strace >/dev/null || die "strace is needed to count frames (apt-get install strace)"

# Starts headless sway at $1 as nobody with a random-block background; sets
# XVFB (the display server measured beside the program) and the session's variables.
NOBODY=65534
start_sway() {
  stop_x
  local run="$WORK/sway"
  rm -rf "$run"; mkdir -p "$run/home" "$run/runtime"
  chmod 755 "$WORK"; chmod 700 "$run/runtime"
  local w="${1%x*}" h="${1#*x}"
  convert -size "$(((w + 39) / 40))x$(((h + 39) / 40))" xc: +noise Random -scale 4000% \
    -crop "${1}+0+0" +repage "PNG24:$run/background.png"
  printf 'output HEADLESS-1 resolution %s position 0 0 bg %s fill\n' "$1" "$run/background.png" >"$run/sway.conf"
  chown -R "$NOBODY:$NOBODY" "$run"
  setpriv --reuid=$NOBODY --regid=$NOBODY --clear-groups env -i HOME="$run/home" \
    XDG_RUNTIME_DIR="$run/runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    PATH=/usr/bin:/bin sway -c "$run/sway.conf" >/dev/null 2>&1 &
  XVFB=$!
  PIDS+=("$XVFB")
  until ls "$run/runtime"/wayland-* >/dev/null 2>&1; do sleep 0.05; done
  sleep 1 # the output and its background
  AS_NOBODY=(setpriv --reuid=$NOBODY --regid=$NOBODY --clear-groups env -i HOME="$run/home"
    XDG_RUNTIME_DIR="$run/runtime" WAYLAND_DISPLAY="$(basename "$(ls -d "$run/runtime"/wayland-* | head -n1)")"
    XDG_CONFIG_HOME="$run/home/.config" PATH=/usr/bin:/bin)
}

# The display server of the mode at $1.
start_display() { if [ "$MODE" = wayland ]; then start_sway "$1"; else start_x "$1"; fi; }

# Starts Xvfb at $1 with a random-block desktop; sets XVFB and DISPLAY.
start_x() {
  stop_x
  Xvfb -displayfd 3 -screen 0 "$1x${DEPTH:-24}" -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
  XVFB=$!
  PIDS+=("$XVFB")
  until [ -s "$WORK/display" ]; do sleep 0.05; done
  export DISPLAY=":$(head -n1 "$WORK/display")"
  rm -f "$WORK/display" "$WORK/pattern.png"
  # The server keeps the root's pattern after the tool goes (-noreset). The
  # tool is a Qt program: left running, it would share the saver's library
  # pages and lower the saver's PSS, as nothing does on sway (swaybg there).
  "$PROBES/root_pattern" "$WORK/pattern.png" 3 2>/dev/null &
  local pattern=$!
  until [ -f "$WORK/pattern.png" ]; do sleep 0.05; done
  kill "$pattern"
  wait "$pattern" 2>/dev/null || true
  [ -z "${FROG_SCALE:-}" ] || printf 'Xft.dpi:\t%s\n' "$((96 * FROG_SCALE))" | xrdb -merge
}

stop_x() {
  [ -n "${XVFB:-}" ] || return 0
  kill "$XVFB" 2>/dev/null || true
  wait "$XVFB" 2>/dev/null || true
  XVFB=""
}

# The command of the mode measured (RUN) and its process name (NAME). For the
# hack, a host window covering the screen is made first, with a screen copy.
program_for_mode() {
  if [ "$MODE" = saver ]; then
    RUN=("$PROGRAM" /S) NAME=Lilywade.scr
    return
  fi
  if [ "$MODE" = wayland ]; then
    RUN=("${AS_NOBODY[@]}" "$PROGRAM" /S) NAME=Lilywade.scr
    return
  fi
  local size; size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
  "$BUILD/tests/desktop_client" popup 000000 0 0 "${size%x*}" "${size#*x}" >"$WORK/host" &
  PIDS+=($!)
  until grep -q '^id ' "$WORK/host" 2>/dev/null; do sleep 0.05; done
  local id; id=$(awk '/^id / {print $2}' "$WORK/host")
  "$BUILD/tests/desktop_client" screenshot "$id" >"$WORK/copy" &
  PIDS+=($!)
  until grep -q stored "$WORK/copy" 2>/dev/null; do sleep 0.05; done
  RUN=("$BUILD/lilywade" --window-id "$id") NAME=lilywade
}

# Private settings: speed, blank (0 or 1); marks and sound off.
use_settings() {
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config"
  mkdir -p "$XDG_CONFIG_HOME/lilywade"
  printf '[Lilywade]\nStartup\\Hole=0\nStartup\\Streak=0\nStartup\\Sound=0\nStartup\\blank=%s\nStartup\\Speed=%s\n' \
    "$2" "$1" \
    >"$XDG_CONFIG_HOME/lilywade/settings.ini"
  if [ "$MODE" = wayland ]; then
    mkdir -p "$WORK/sway/home/.config"
    cp -r "$XDG_CONFIG_HOME/lilywade" "$WORK/sway/home/.config/"
    chown -R "$NOBODY:$NOBODY" "$WORK/sway/home"
  fi
}

# CPU time of a process in nanoseconds.
cpu_ns() { cut -d' ' -f1 "/proc/$1/schedstat"; }

end_program() {
  kill "$1" 2>/dev/null || true
  while kill -0 "$1" 2>/dev/null; do sleep 0.05; done
}

# Runs the saver at $1 with Speed 1 under strace; sets FRAME_US, FPS and SERVER_US (per frame).
cpu_per_frame() {
  start_display "$1"
  use_settings 1 0
  program_for_mode
  local calls=writev
  [ "$MODE" = wayland ] && calls=sendmsg
  strace -f --seccomp-bpf -qq -e trace=$calls -o "$WORK/sleeps" "${RUN[@]}" 2>/dev/null &
  local tracer=$! pid=""
  PIDS+=("$tracer")
  until pid=$(pgrep -P "$tracer" -x "$NAME"); do sleep 0.05; done
  # Sounds off, nothing else writes: on Wayland the helper threads Qt starts send nothing either.
  sleep 2 # let it reach the steady animation
  local cpu0 x0 sleeps0 cpu1 x1 sleeps1
  cpu0=$(cpu_ns "$pid") x0=$(cpu_ns "$XVFB") sleeps0=$(wc -l <"$WORK/sleeps")
  sleep "$RUN_SECONDS"
  cpu1=$(cpu_ns "$pid") x1=$(cpu_ns "$XVFB") sleeps1=$(wc -l <"$WORK/sleeps")
  end_program "$pid"
  local frames=$((sleeps1 - sleeps0))
  [ "$frames" -gt 0 ] || die "no frames at $1"
  FRAME_US=$(((cpu1 - cpu0) / frames / 1000)) FPS=$((frames / RUN_SECONDS))
  SERVER_US=$(((x1 - x0) / frames / 1000))
}

# Sets FIRST_MS; the X server must be up (a saver starts on a running desktop).
first_frame_ms() {
  use_settings 50 1
  local out
  out=$("$PROBES/first_frame_probe" "$PROGRAM" /S) || die "no first frame within 10 s"
  [[ "$out" =~ ^ms=([0-9.]+)\ pid=([0-9]+)$ ]] || die "first_frame_probe said: $out"
  FIRST_MS=${BASH_REMATCH[1]}
  end_program "${BASH_REMATCH[2]}"
}

# Memory after 3 s at $1 (PSS_KB, RSS_KB, HWM_KB); with $2 = load, also the CPU
# shares of the program and the X server in thousandths of a core
# (PROGRAM_LOAD, SERVER_LOAD), at Speed 50.
memory_and_load() {
  start_display "$1"
  use_settings 50 0
  program_for_mode
  "${RUN[@]}" 2>/dev/null &
  local pid=$!
  PIDS+=("$pid")
  # setpriv and env exec the program: the pid stays its own.
  sleep 3
  PSS_KB=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
  RSS_KB=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  HWM_KB=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  if [ "${2:-}" = load ]; then
    local cpu0 x0 cpu1 x1
    cpu0=$(cpu_ns "$pid") x0=$(cpu_ns "$XVFB")
    sleep "$RUN_SECONDS"
    cpu1=$(cpu_ns "$pid") x1=$(cpu_ns "$XVFB")
    PROGRAM_LOAD=$(((cpu1 - cpu0) / RUN_SECONDS / 1000000))
    SERVER_LOAD=$(((x1 - x0) / RUN_SECONDS / 1000000))
  fi
  end_program "$pid"
}

SERVER="X server"
[ "$MODE" = wayland ] && SERVER=sway
permille() { printf '%d.%d%%' $(($1 / 10)) $(($1 % 10)); }

echo "Lilywade ($MODE) on $([ "$MODE" = wayland ] && echo "headless sway" || echo Xvfb), $(nproc) cores, $(uname -r); runs of ${RUN_SECONDS} s"

PARTS="${PARTS:-1 2 3 4}"
wanted() { [[ " $PARTS " == *" $1 "* ]]; }
SIZES=(1920x1080 3840x2160)

# The two sizes take turns, five runs each, and each gives its median: a
# frame costs about 130 µs, most of it fixed, and single runs vary by 15%.
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
if wanted 1; then
  hd=() uhd=() hd_x=() uhd_x=()
  for _ in 1 2 3 4 5; do
    cpu_per_frame 1920x1080; hd+=("$FRAME_US") hd_x+=("$SERVER_US")
    cpu_per_frame 3840x2160; uhd+=("$FRAME_US") uhd_x+=("$SERVER_US")
  done
  hd_us=$(median "${hd[@]}") uhd_us=$(median "${uhd[@]}")
  echo "1. CPU per frame (Speed 1, about $FPS frames/s), median of 5 runs:" \
       "1920x1080 ${hd_us} µs (runs ${hd[*]}; $SERVER $(median "${hd_x[@]}") µs);" \
       "3840x2160 ${uhd_us} µs (runs ${uhd[*]}; $SERVER $(median "${uhd_x[@]}") µs);" \
       "ratio $(awk -v a="$uhd_us" -v b="$hd_us" 'BEGIN { printf "%.2f", a / b }') (target <= 1.10)"
fi

if wanted 2 && [ "$MODE" = saver ]; then
  for size in "${SIZES[@]}"; do
    times=()
    start_x "$size"
    for _ in 1 2 3 4 5; do first_frame_ms; times+=("$FIRST_MS"); done
    echo "2. Start to first full-screen frame, $size, 5 runs:" \
         "$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')ms (median $(median "${times[@]}") ms)"
  done
fi

mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
if wanted 3; then
  for size in "${SIZES[@]}"; do
    memory_and_load "$size"
    echo "3. Memory at $size: PSS $(mib "$PSS_KB"), RSS $(mib "$RSS_KB") (peak $(mib "$HWM_KB"))"
  done
fi

if wanted 4; then
  memory_and_load 1920x1080 load
  echo "4. CPU at Speed 50: program $(permille "$PROGRAM_LOAD"), $SERVER $(permille "$SERVER_LOAD")," \
       "together $(permille $((PROGRAM_LOAD + SERVER_LOAD))) of a core (target <= 1%)"
fi
stop_x
