# The X server going away under each mode: the program ends promptly and
# is not killed by a signal (no core dump).
# Arguments: PROGRAM HOST_WINDOW
source "$(dirname "$0")/lib.sh"
HOST="${2:?host_window}"

for mode in /S /C /P; do
  start_xvfb 640x480
  args=("$mode")
  if [ "$mode" = /P ]; then
    coproc HOST_PROC { exec "$HOST" 200 150; }
    CHILD_PIDS+=("$HOST_PROC_PID")
    read -r -t 10 -u "${HOST_PROC[0]}" area || fail "no id from the test host"
    args=(/P "$area")
  fi
  start_program "${args[@]}"
  case "$mode" in
    /S) wait_until 10 window_exists frog || fail "no saver window" ;;
    /C) wait_until 10 window_exists "Lilywade Settings" || fail "no settings dialog" ;;
    /P) wait_until 10 holds_picture "$area" || fail "the picture did not arrive in the preview area" ;;
  esac
  kill "$XVFB_PID"; XVFB_PID=""
  wait_exit "$LAST_PID" 5
  [ "$EXIT_STATUS" -lt 128 ] || fail "$mode: ended by signal $((EXIT_STATUS - 128))"
  pass "$mode ends (status $EXIT_STATUS) when the X server goes away"
done
