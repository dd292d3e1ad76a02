# lilywade-idle on headless sway 1.7, through KDE's idle protocol (sway 1.7
# has no ext-idle-notify), and with LILYWADE_COMPOSITORS=testing on Debian
# testing's sway 1.12, through ext_idle_notifier_v1: a window holding an idle inhibitor keeps the saver
# away; 2 s after it lets go the saver comes, a key ends it, and it comes
# again 2 s after the key, not before; sway going away ends lilywade-idle with
# status 0 within 5 s, and the saver with it.
# (sway 1.7 stops its idle timers while an inhibitor is held, and input then
# counts for nothing: a session that was idle before the inhibitor came stays
# idle after it goes, and the next idle comes 2 s after the next input. KWin
# 5.27 does the same. So the inhibitor is held from the start here, as when a
# user starts a video.)
# Arguments: PROGRAM LILYWADE_IDLE IDLE_INHIBITOR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
IDLE_PROGRAM="${2:?lilywade-idle}" INHIBITOR="${3:?idle_inhibitor}"

start_sway
start_inhibitor "$INHIBITOR"

start_client idle "$IDLE_PROGRAM" --seconds 2
IDLE=$LAST_PID
NOTIFIER=org_kde_kwin_idle
[ "$COMPOSITORS" = testing ] && NOTIFIER=ext_idle_notifier_v1
wait_until 10 grep -q "$NOTIFIER" "$WORK/idle.err" \
  || fail "lilywade-idle does not say it watches $NOTIFIER: $(cat "$WORK/idle.err")"
expect_inhibitor_keeps_saver_away

FIRST=$SAVER
from=$(uptime_ms); type_keys x; to=$(uptime_ms)
wait_until 5 not kill -0 "$FIRST" || fail "a key did not end the saver"
expect_idle_saver "$from" "$to"
pass "a key ends the saver; it comes again $SAVER_MS ms after the key"

gone=$(now_ms)
kill_compositor
wait_exit "$IDLE" 5
[ "$EXIT_STATUS" = 0 ] || fail "sway gone: lilywade-idle ended with status $EXIT_STATUS"
wait_until 5 not kill -0 "$SAVER" || fail "the saver still runs after lilywade-idle ended"
pass "sway going away ends lilywade-idle with status 0 after $(($(now_ms) - gone)) ms, and its saver"
