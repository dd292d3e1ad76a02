# lilywade under the real XScreenSaver daemon, on two monitors: activated, it
# runs one hack per monitor, on black while XScreenSaver's settings (Debian's
# app-defaults) forbid grabbing the desktop, else each over its monitor's
# copy of the desktop; deactivated, every hack is gone within seconds and
# the desktop is back.
# XScreenSaver runs no hacks as root: it runs here as the user nobody, with
# the hack installed into a folder that user can read.
# Arguments: HACK BUILD_DIR ROOT_PATTERN; with BUILD_DIR "installed", HACK is
# a name XScreenSaver finds in its own hack folder (an installed package).
source "$(dirname "$0")/lib.sh"
BUILD="${2:?build dir}"
ROOT_PATTERN="${3:?root_pattern}"
start_xvfb 2560x1024
two_monitors 2560 1024
patterned_desktop "$ROOT_PATTERN"
screenshot "$WORK/desktop.png"

if [ "$BUILD" = installed ]; then
  HACK="$PROGRAM"
else
  cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null || fail "cmake --install failed"
  HACK="$WORK/prefix/libexec/lilywade/lilywade"
  [ -x "$HACK" ] || fail "no installed hack at $HACK"
fi
USER_HOME="$WORK/nobody"
mkdir -p "$USER_HOME/.config/lilywade"
printf '[Lilywade]\nStartup\\Speed=30\n' >"$USER_HOME/.config/lilywade/settings.ini"
cat >"$USER_HOME/.xscreensaver" <<XSS
mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
programs: "Lilywade" $HACK --root \\n\\
XSS
chmod 755 "$WORK"
chown -R 65534:65534 "$USER_HOME"
as_nobody() {
  setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i HOME="$USER_HOME" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@"
}
as_nobody xscreensaver -no-splash -verbose >"$WORK/xscreensaver.log" 2>&1 &
CHILD_PIDS+=($!)
wait_until 10 as_nobody xscreensaver-command -time || fail "XScreenSaver did not start: $(cat "$WORK/xscreensaver.log")"

# Hacks of this display that have not ended. Other tests and other users may
# run lilywade on this machine at the same time: only the processes that
# XScreenSaver started here, on this test's display (which it may pass on
# with a screen number), count. An ended hack
# whose parent has not reaped it yet (or never will, when init in a container
# does not) has no environment left and is not counted.
hack_pids() {
  local pid
  for pid in $(pgrep -x lilywade); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qE "^DISPLAY=$DISPLAY(\.[0-9]+)?\$" \
      && echo "$pid"
  done
  return 0
}
hacks() { hack_pids | wc -l; }
# What is left when a wait fails: the hacks' states and XScreenSaver's log.
left_behind() {
  local pid
  for pid in $(hack_pids); do ps -o pid=,stat=,wchan:20=,etime=,args= -p "$pid" || true; done
  tail -15 "$WORK/xscreensaver.log"
}
# Frogs (at most 2 x 95 x 95 pixels, at least a few hundred) on black on each monitor.
frogs_on_black() {
  screenshot "$WORK/now.png"
  local half black
  for half in 0 1; do
    convert "$WORK/now.png" -crop "1280x1024+$((half * 1280))+0" +repage "$WORK/half.png"
    black=$(convert "$WORK/half.png" -precision 12 -fill white +opaque black -fill black -opaque black -negate \
      -format '%[fx:int(mean*w*h+0.5)]' info:)
    [ "$black" -ge $((1280 * 1024 - 18050)) ] && [ "$black" -lt $((1280 * 1024 - 300)) ] || return 1
  done
}
# XScreenSaver passes the deactivation on to xscreensaver-gfx, which only then
# sends the hacks SIGTERM: on a busy machine that alone was seen to take over a
# second. How fast a hack ends on SIGTERM is hack.sh's to check.
deactivate() {
  as_nobody xscreensaver-command -deactivate >/dev/null
  start=$(now_ms)
  wait_until 5 eval '[ "$(hacks)" -eq 0 ]' || fail "hacks still running 5 s after -deactivate: $(left_behind)"
  gone=$(($(now_ms) - start))
}
activate() {
  as_nobody xscreensaver-command -activate >/dev/null
  wait_until 10 eval '[ "$(hacks)" -eq 2 ]' || fail "$(hacks) hacks running, not one per monitor: $(left_behind)"
}

if grep -qi '^\*grabDesktopImages:[[:space:]]*false' /etc/X11/app-defaults/XScreenSaver 2>/dev/null; then
  activate
  wait_until 10 frogs_on_black || fail "with Debian's defaults a monitor does not show frogs on black"
  pass "Debian's defaults, no Save yet: frogs on black on each monitor"
  deactivate
fi
# What a tick of "Grab Desktop Images" and a Save write.
sed -i '1i grabDesktopImages:\tTrue' "$USER_HOME/.xscreensaver"
activate
# Pixels of screen image $1 that differ from the desktop, in half $2 (0 or 1).
differing() {
  convert "$1" -crop "1280x1024+$(($2 * 1280))+0" +repage "$WORK/half.png"
  convert "$WORK/desktop.png" -crop "1280x1024+$(($2 * 1280))+0" +repage "$WORK/desktop-half.png"
  compare -metric AE "$WORK/half.png" "$WORK/desktop-half.png" null: 2>&1 || true
}
# Frogs (at most 2 x 95 x 95 pixels, at least a few hundred) on the desktop's copy.
frogs_on_desktop() {
  screenshot "$WORK/now.png"
  local half changed
  for half in 0 1; do
    changed=$(differing "$WORK/now.png" "$half")
    [ "$changed" -gt 300 ] && [ "$changed" -le 18050 ] || return 1
  done
}
wait_until 10 frogs_on_desktop || fail "a monitor does not show frogs on the copy of the desktop"
pass "activated: one hack per monitor, frogs on each monitor's copy of the desktop"

deactivate
desktop_back() {
  screenshot "$WORK/now.png"
  [ "$(differing "$WORK/now.png" 0)" -eq 0 ] && [ "$(differing "$WORK/now.png" 1)" -eq 0 ]
}
wait_until 5 desktop_back || fail "the desktop is not back as it was"
pass "deactivated: every hack gone within ${gone} ms, the desktop as it was"
