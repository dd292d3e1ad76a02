# lilywade-idle on headless KWin 5.27, which offers both idle protocols: it
# asks ext_idle_notifier_v1 (the one that honours idle inhibitors; its
# Wayland trace shows what it bound), a window holding an idle inhibitor keeps
# the saver away, and 2 s after it lets go the saver comes, not before; KWin
# going away ends lilywade-idle with status 0 within 5 s. (The inhibitor is
# held from the start, as in idle_sway.sh.)
# Arguments: PROGRAM LILYWADE_IDLE IDLE_INHIBITOR KWIN_TOOL
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
source "$(dirname "$0")/kwin_lib.sh"
IDLE_PROGRAM="${2:?lilywade-idle}" INHIBITOR="${3:?idle_inhibitor}" KWIN_TOOL="${4:?kwin_tool}"

start_kwin 640 400 1
start_inhibitor "$INHIBITOR"

# The trace is lilywade-idle's, and its saver's once one runs.
start_client idle env WAYLAND_DEBUG=1 "$IDLE_PROGRAM" --seconds 2
IDLE=$LAST_PID
wait_until 10 grep -q ' -> ext_idle_notifier_v1@[0-9]*\.get_idle_notification(new id [^,]*, 2000, wl_seat@' \
  "$WORK/idle.err" || fail "lilywade-idle asked ext_idle_notifier_v1 for no notification: $(grep -m3 idle "$WORK/idle.err")"
if grep -q 'bind([0-9]*, "org_kde_kwin_idle"' "$WORK/idle.err"; then fail "lilywade-idle bound org_kde_kwin_idle too"; fi
pass "lilywade-idle watches ext_idle_notifier_v1 with a 2 s timeout, and not KDE's older protocol"
expect_inhibitor_keeps_saver_away

gone=$(now_ms)
kill_compositor
wait_exit "$IDLE" 5
[ "$EXIT_STATUS" = 0 ] || fail "KWin gone: lilywade-idle ended with status $EXIT_STATUS"
pass "KWin going away ends lilywade-idle with status 0 after $(($(now_ms) - gone)) ms"
