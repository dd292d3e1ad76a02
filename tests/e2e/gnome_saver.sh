# The saver (/S) on GNOME's compositor, headless with two monitors: no layer
# shell and no screen copy there, so one full-screen window per monitor with
# the frogs on black.
# Mutter: each window is made full-screen at its monitor's size; with another
# application's window clicked and typed into just before, the saver, started
# from the background, takes the keyboard and a key ends it (the window behind
# gets none); a click on the second monitor ends it; SIGTERM ends it.
# GNOME Shell: its screenshots show both monitors and the top bar covered by
# frogs on black, also when the saver starts with the Activities overview
# open (the Shell starts in it; the saver closes it); a key ends it, also one
# after another window had the focus (that window gets none); a click ends
# it; SIGTERM ends it and the top bar shows again; no notification is left.
# With LILYWADE_COMPOSITORS=testing, GNOME Shell is Debian testing's
# (gnome_lib.sh) and the Mutter part, Debian 12's alone, is left out.
# Arguments: PROGRAM GNOME_INPUT FOCUS_WINDOW
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/gnome_lib.sh"
FOCUS_WINDOW="${3:?focus_window}"
KEY_A=30

# Two frogs (55 x 55 pixels at most) change no more pixels than this.
FROG_PIXELS=$((2 * 55 * 55))
write_settings 50 0 0

# Starts the saver as an idle daemon would, detached, with its Wayland
# requests and events logged; its pid in $SAVER, the time in STARTED.
start_saver() {
  STARTED=$(now_ms)
  WAYLAND_DEBUG=client setsid "$PROGRAM" /S </dev/null >"$WORK/program.out" 2>"$WORK/program.err" &
  SAVER=$!
  CHILD_PIDS+=("$SAVER")
}

# True once the compositor gave one of the saver's windows the keyboard.
saver_has_keyboard() { grep -q 'wl_keyboard@[0-9]*\.enter(' "$WORK/program.err"; }
wait_for_keyboard() {
  wait_until 10 saver_has_keyboard || fail "the saver never got the keyboard"
  FOCUS_MS=$(($(now_ms) - STARTED))
}

# Waits for the saver to end with status 0 after $ACTED; ENDED_MS is the time.
expect_end_by() {
  wait_until 5 not kill -0 "$SAVER" || fail "$1 did not end the saver"
  ENDED_MS=$(($(now_ms) - ACTED))
  wait_exit "$SAVER" 1
  [ "$EXIT_STATUS" = 0 ] || fail "$1: status $EXIT_STATUS"
}

expect_end_by_sigterm() {
  ACTED=$(now_ms)
  kill -TERM "$SAVER"
  expect_end_by SIGTERM
}

# Shows another application's window on the first monitor (GNOME Shell puts
# a new window on the pointer's), clicks it and types into it: it has the
# focus. Its output goes to $WORK/$1.out.
focus_other_window() {
  FOCUS_OUT="$WORK/$1.out"
  pointer_to 640 360
  "$FOCUS_WINDOW" >"$FOCUS_OUT" 2>"$WORK/$1.err" &
  CHILD_PIDS+=($!)
  wait_until 10 grep -q '^active' "$FOCUS_OUT" || fail "the focus window did not show: $(cat "$WORK/$1.err")"
  input click
  wait_until 5 grep -q '^clicked' "$FOCUS_OUT" || fail "the window did not get the click"
  input key $KEY_A
  wait_until 5 grep -q '^typed' "$FOCUS_OUT" || fail "the window did not get the key"
}
# Checks that the window of focus_other_window got one key only, its own.
no_key_behind() {
  [ "$(grep -c '^typed' "$FOCUS_OUT")" = 1 ] || fail "the key also reached the window behind the saver"
}

# --- Mutter ---
if [ "$COMPOSITORS" = host ]; then
  start_mutter
  pass "Mutter started in $STARTED_MS ms"
  start_input
  focus_other_window focus

  start_saver
  # A full-screen window gets its monitor's size at its first configure (any
  # other window 0 x 0, its own choice).
  configured() { grep -q "xdg_toplevel@[0-9]*\.configure($1, $2," "$WORK/program.err"; }
  wait_until 10 configured 1280 720 || fail "no full-screen window on the 1280x720 monitor"
  wait_until 10 configured 1024 768 || fail "no full-screen window on the 1024x768 monitor"
  wait_for_keyboard
  pass "the saver's windows are full-screen on both monitors; it had the keyboard $FOCUS_MS ms after the start"
  input key $KEY_A
  expect_end_by "a key"
  no_key_behind
  pass "a key ends the saver, started while another window had the focus, within $ENDED_MS ms; that window gets no key"

  pointer_to 1700 400
  start_saver
  wait_for_keyboard
  input click
  expect_end_by "a click on the second monitor"
  pass "a click on the second monitor ends the saver within $ENDED_MS ms"

  start_saver
  wait_for_keyboard
  expect_end_by_sigterm
  pass "SIGTERM ends the saver with status 0"
  stop_gnome
fi

# --- GNOME Shell ---
start_gnome_shell
shell_version=$(compositor_side gnome-shell --version)
pass "$shell_version started in $STARTED_MS ms$(test -s "$WORK/unstuck.log" && echo ", after a deadlocked fork of its own was ended")"
start_input
pointer_to 1700 400
# True when GNOME Shell shows black with frogs on both monitors, the top bar
# covered too: no more pixels than two frogs' are not black (the corner below
# the smaller monitor, on none, does not count). The screenshot is in
# $WORK/shot.png.
frogs_on_black() {
  shell_screenshot "$WORK/shot.png" || return 1
  local lit
  lit=$(convert "$WORK/shot.png" -fill black -draw "rectangle 0,720 1279,767" -fill white +opaque black \
    -format '%[fx:round(mean * w * h)]' info:)
  [ "$lit" -gt 0 ] && [ "$lit" -le "$FROG_PIXELS" ]
}
# True when the top bar shows: many of its pixels are not black.
top_bar_shown() {
  shell_screenshot "$WORK/shot.png" || return 1
  local lit
  lit=$(convert "$WORK/shot.png" -crop 1280x32+0+0 +repage -fill white +opaque black \
    -format '%[fx:round(mean * w * h)]' info:)
  [ "$lit" -gt 1000 ]
}
notifications() { shell_eval 'Main.messageTray.getSources().length'; }
NOTIFICATIONS_BEFORE=$(notifications)

wait_until 10 overview_active || fail "GNOME Shell did not open its overview at the start"
start_saver
wait_until 10 not overview_active || fail "the overview stays open over the saver"
wait_for_keyboard
wait_until 10 frogs_on_black || fail "the saver does not cover both monitors with the overview open at its start"
pass "started in the overview, the saver closes it, has the keyboard after $FOCUS_MS ms and covers both monitors and the top bar"
input key $KEY_A
expect_end_by "a key"
pass "a key ends the saver within $ENDED_MS ms"

focus_other_window focus-shell
start_saver
wait_for_keyboard
wait_until 10 frogs_on_black || fail "the saver does not cover both monitors over the window that had the focus"
input key $KEY_A
expect_end_by "a key after another window had the focus"
no_key_behind
pass "started while another window had the focus, the saver covers both monitors and the top bar; a key ends it within $ENDED_MS ms, the window gets none"

shell_eval 'Main.overview.show()' >/dev/null
wait_until 5 overview_active || fail "the overview did not open"
start_saver
wait_until 10 frogs_on_black || fail "the saver does not cover both monitors with the overview opened before its start"
wait_for_keyboard
input click
expect_end_by "a click"
pass "started in the overview opened again, the saver covers both monitors; a click ends it within $ENDED_MS ms"

start_saver
wait_until 10 frogs_on_black || fail "the saver does not cover both monitors"
expect_end_by_sigterm
wait_until 5 top_bar_shown || fail "the top bar does not show again after SIGTERM"
[ "$(notifications)" = "$NOTIFICATIONS_BEFORE" ] || fail "the saver left notifications: $(notifications)"
pass "SIGTERM ends the saver with status 0; the top bar shows again, and no notification is left"
