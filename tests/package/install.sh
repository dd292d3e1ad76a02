# The package installed on this machine as a user would, with apt-get: the
# saver runs from /usr/libexec/lilywade and plays its own sounds, and
# lilywade-settings, the menu entry's command, opens the dialog. apt-get
# remove and dpkg --purge then leave no path of the package behind.
# Needs root: it installs into this machine's /usr, and always purges again.
# The installed hack runs under XScreenSaver, found by its name alone.
# Usage: install.sh BUILD_DIR VERSION SAVER_SOUND_TEST HACK_XSCREENSAVER_TEST ROOT_PATTERN
BUILD="${1:?build folder}" VERSION="${2:?version}" SAVER_SOUND="${3:?saver_sound.sh}"
HACK_XSCREENSAVER="${4:?hack_xscreensaver.sh}" ROOT_PATTERN="${5:?root_pattern}"
SAVER=/usr/libexec/lilywade/Lilywade.scr
source "$(dirname "$0")/../e2e/lib.sh" "$SAVER"
DEB="$BUILD/lilywade_${VERSION}_$(dpkg --print-architecture).deb"
export DEBIAN_FRONTEND=noninteractive

[ "$(id -u)" -eq 0 ] || fail "needs root to install the package"
[ -f "$DEB" ] || fail "no $DEB"
# dpkg's state of the package, empty when it knows nothing of it.
known() { dpkg-query -W -f='${db:Status-Abbrev}' lilywade 2>/dev/null | grep -v '^un' || true; }
[ -z "$(known)" ] || fail "lilywade is already on this machine ($(known)); this test would purge it"

INSTALLED=0
purge() { [ "$INSTALLED" -eq 0 ] || dpkg --purge lilywade >/dev/null 2>&1 || true; }
trap 'purge; cleanup' EXIT

# Every path of the package, folders included, and those already here.
dpkg-deb -c "$DEB" | awk '{print substr($6, 2)}' | sed -e 's|/$||' -e '/^$/d' >"$WORK/paths"
present() {
  local path
  while read -r path; do
    if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi
  done <"$WORK/paths"
}
present >"$WORK/before"

apt() { apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log" >&2; fail "apt-get $*"; }; }
INSTALLED=1
apt install "$DEB"
[ "$(dpkg-query -W -f='${Version}' lilywade)" = "$VERSION" ] || fail "version $VERSION not installed"
missing=$(comm -23 <(sort "$WORK/paths") <(present | sort))
[ -z "$missing" ] || fail "installed without: $missing"
pass "apt-get install $(basename "$DEB"): every path of the package is in place"

bash "$SAVER_SOUND" "$SAVER" >"$WORK/saver.log" 2>&1 \
  || { cat "$WORK/saver.log" >&2; fail "the installed saver did not play its sounds"; }
pass "$SAVER /S runs and plays bud.wav and wizer.wav from its folder"

bash "$HACK_XSCREENSAVER" lilywade installed "$ROOT_PATTERN" >"$WORK/hack.log" 2>&1 \
  || { cat "$WORK/hack.log" >&2; fail "XScreenSaver did not run the installed hack by its name"; }
pass "XScreenSaver runs the installed hack by its name alone (programs: lilywade --root)"

start_xvfb 1024x768
lilywade-settings >"$WORK/program.out" 2>"$WORK/program.err" &
LAST_PID=$!
CHILD_PIDS+=("$LAST_PID")
wait_until 10 window_exists "Lilywade Settings" || fail "lilywade-settings opened no settings dialog"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Lilywade Settings$')" key Escape
wait_exit "$LAST_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "the dialog ended with status $EXIT_STATUS"
pass "lilywade-settings opens the settings dialog"

apt remove lilywade
dpkg --purge lilywade >/dev/null
INSTALLED=0
[ -z "$(known)" ] || fail "dpkg still knows lilywade after the purge: $(known)"
left=$(comm -13 <(sort "$WORK/before") <(present | sort))
[ -z "$left" ] || fail "left behind after apt-get remove and dpkg --purge: $left"
pass "apt-get remove and dpkg --purge leave no path of the package behind"
