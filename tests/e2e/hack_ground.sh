# What lilywade's frogs hop on, one case per rule: the host's copy of the
# screen where the host and the user allow it, else black. XScreenSaver's
# grabDesktopImages comes from ~/.xscreensaver, else the X resources, else
# the app-defaults file, else is True.
# Arguments: HACK HOST_WINDOW DESKTOP_CLIENT ROOT_PATTERN
source "$(dirname "$0")/lib.sh"
HOST="${2:?host_window}"
CLIENT="${3:?desktop_client}"
ROOT_PATTERN="${4:?root_pattern}"
start_xvfb 1024x768
patterned_desktop "$ROOT_PATTERN"
source "$(dirname "$0")/hack_host.sh"
start_host
store_screenshot
write_settings 30 0 0

# The app-defaults the cases give, found by the search path as XScreenSaver finds them.
APP_DEFAULTS="$WORK/app-defaults/XScreenSaver"
mkdir -p "$WORK/app-defaults"
export XFILESEARCHPATH="$WORK/%T/%N"
# Frogs on black over the whole root window.
root_frogs_on_black() {
  screenshot "$WORK/now.png"
  local black; black=$(black_pixels "$WORK/now.png")
  [ "$black" -ge $((1024 * 768 - 18050)) ] && [ "$black" -lt $((1024 * 768 - 500)) ]
}

# ground_is WHAT NAME USER_FILE RESOURCES APP_DEFAULTS [VAR=VALUE...] -- [OPTION...]:
# with these settings (- for none) the hack's ground is WHAT (ground_shown,
# frogs_on_black or root_frogs_on_black).
ground_is() {
  local what=$1 name=$2 user=$3 resources=$4 defaults=$5; shift 5
  local vars=()
  while [ "$1" != -- ]; do vars+=("$1"); shift; done
  shift
  rm -f "$HOME/.xscreensaver" "$APP_DEFAULTS"
  [ "$user" = - ] || printf '%s\n' "$user" >"$HOME/.xscreensaver"
  [ "$defaults" = - ] || printf '%s\n' "$defaults" >"$APP_DEFAULTS"
  if [ "$resources" = - ]; then xrdb -nocpp -load /dev/null; else printf '%s\n' "$resources" | xrdb -nocpp -load; fi
  wait_until 10 host_bare || fail "$name: the host does not show itself before the case"
  env "${vars[@]}" "$PROGRAM" "$@" >"$WORK/program.out" 2>"$WORK/program.err" &
  local hack=$!
  CHILD_PIDS+=("$hack")
  wait_until 10 "$what" || fail "$name: the ground is not what $what looks for"
  kill "$hack"; wait_exit "$hack" 5
  [ "$EXIT_STATUS" -eq 0 ] || fail "$name: status $EXIT_STATUS after SIGTERM"
  [ -s "$WORK/program.err" ] && fail "$name: the hack wrote to standard error"
  pass "$name"
}

# Where the window comes from.
ground_is ground_shown "--window-id: the host's copy" - - - -- --window-id "$HOST_ID"
ground_is ground_shown "XSCREENSAVER_WINDOW with --root: the host's copy" - - - \
  XSCREENSAVER_WINDOW="$HOST_ID" -- --root
ground_is ground_shown "XSCREENSAVER_WINDOW alone: the host's copy" - - - XSCREENSAVER_WINDOW="$HOST_ID" --
# A copy left on the root window too, which is no host's: still black.
ROOT_ID=$(xwininfo -root | awk '/Window id:/ {print $4}')
"$CLIENT" screenshot "$ROOT_ID" >"$WORK/root-shot.out" &
CHILD_PIDS+=($!)
wait_until 10 grep -q stored "$WORK/root-shot.out" || fail "no screenshot property on the root"
ground_is root_frogs_on_black "the root window: black, there is no host's copy" - - - -- --root
# Who forbids it.
ground_is frogs_on_black "XSCREENSAVER_SAVER_INDEX (a locker): black" - - - \
  XSCREENSAVER_WINDOW="$HOST_ID" XSCREENSAVER_SAVER_INDEX=0 -- --root
ground_is frogs_on_black "--blank: black" - - - -- --window-id "$HOST_ID" --blank
# grabDesktopImages, source by source, and which one wins.
ground_is frogs_on_black "~/.xscreensaver False: black" 'grabDesktopImages:	False' - - -- --window-id "$HOST_ID"
ground_is frogs_on_black "resources False: black" - '*grabDesktopImages: False' - -- --window-id "$HOST_ID"
ground_is frogs_on_black "app-defaults False (Debian's): black" - - '*grabDesktopImages:	False' \
  -- --window-id "$HOST_ID"
ground_is ground_shown "~/.xscreensaver True over resources False" 'grabDesktopImages: True' \
  '*grabDesktopImages: False' '*grabDesktopImages: False' -- --window-id "$HOST_ID"
ground_is frogs_on_black "~/.xscreensaver FALSE over resources True" 'grabDesktopImages: FALSE' \
  'XScreenSaver.grabDesktopImages: True' - -- --window-id "$HOST_ID"
ground_is ground_shown "resources True over app-defaults False" - 'XScreenSaver.grabDesktopImages: on' \
  '*grabDesktopImages: False' -- --window-id "$HOST_ID"
ground_is ground_shown "app-defaults True with nothing over it" 'mode: one' - '*grabDesktopImages: True' \
  -- --window-id "$HOST_ID"
