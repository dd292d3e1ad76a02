# The saver (/S) natively on headless sway with two outputs and a bar: it
# covers both outputs and the bar; its snapshot is the desktop as grim saw
# it just before, and frogs appear and move on it; a key, a click and a
# pointer move end it with status 0 (not the first motion alone, nor one of
# 3 pixels, nor a key held since before the start), a key on a keyboard that
# comes with it in each of 10 tries, at once also in the middle of a sound or
# of a jump's pause, a held key at its press; a second /S ends at once;
# SIGTERM ends it and the desktop shows again; sway going away ends it with
# status 1 within 5 s. On the same session the dialog (/C) runs natively (the
# hack's own window: wayland_hack.sh), and on an X display beside it the
# preview (/P) and the hack still draw on X11. On Weston beside sway, its
# socket named as sway's in another runtime folder (no layer shell, no screen
# copies): a saver of its own, frogs on black until SIGTERM.
# Arguments: PROGRAM WAYLAND_POINTER HACK
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
POINTER="${2:?wayland_pointer}"
HACK="${3:?lilywade}"
LAYOUT="2304 768" # the layout's size, for the pointer tool's absolute moves

# Two frogs (55 x 55 pixels at most) change no more pixels than this.
FROG_PIXELS=$((2 * 55 * 55))
# Two frogs on black light no more pixels than this: their largest frame
# lights 1498 (sprites/art).
TWO_FROGS=$((2 * 1498))

# Writes nobody's settings: Speed $1, Sound $2, Blank $3.
saver_settings() {
  XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings "$@"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
}

start_saver() {
  start_client saver "$PROGRAM" /S
  SAVER=$LAST_PID
}


# True when the frogs on image $1 have moved since $WORK/first.png.
frogs_moved_on() {
  shows_frogs_on "$1" && [ "$(differing_pixels "$WORK/now.png" "$WORK/first.png")" != 0 ]
}
# The saver handles events: the frogs go on moving on image $1 (the desktop
# before, unless given) after now.
frames_go_on() {
  capture "$WORK/first.png"
  wait_until 5 frogs_moved_on "${1:-$WORK/before.png}"
}

# Runs the pointer tool with arguments $@ as nobody, waits until it has acted
# and sets ACTED to the wall clock then (ms); it holds its device for its
# first argument in ms.
point() {
  start_client pointer "$POINTER" "$@"
  wait_until 10 grep -q '^acted ' "$WORK/pointer.out" || fail "the pointer tool did not act: $(cat "$WORK/pointer.err")"
  ACTED=$(awk '/^acted / {print $2}' "$WORK/pointer.out")
}

# Waits for the saver to end with status 0 by $1; sets ENDED_MS to the time
# from $ACTED to the end.
expect_end_by() {
  until ! kill -0 "$SAVER" 2>/dev/null; do
    [ $(($(now_ms) - ACTED)) -lt 5000 ] || fail "$1 did not end the saver"
    sleep 0.005
  done
  ENDED_MS=$(($(now_ms) - ACTED))
  wait_exit "$SAVER" 1
  [ "$EXIT_STATUS" = 0 ] || fail "$1: status $EXIT_STATUS"
}

start_sway
capture "$WORK/before.png"
# The desktop all black where it is shown, for the blank screen.
convert "$WORK/before.png" -fill black -colorize 100 "PNG24:$WORK/black.png"

saver_settings 50 0 0
started=$(now_ms)
start_saver
wait_for_frogs_on "$WORK/before.png"
pass "frogs on the snapshot, which is the desktop grim saw before, $(($(now_ms) - started)) ms after the start"
cp "$WORK/now.png" "$WORK/first.png"
wait_until 5 frogs_moved_on "$WORK/before.png" || fail "the frogs do not move"
pass "the frogs move, and only they change"

start_client second "$PROGRAM" /S
wait_exit "$LAST_PID" 3
[ "$EXIT_STATUS" = 0 ] || fail "a second /S: status $EXIT_STATUS"
kill -0 "$SAVER" || fail "the second /S ended the first"
pass "a second /S ends at once with status 0 and leaves the first running"

# A pointer that comes while the saver runs (the seat's pointer enters the
# saver's surface as it comes); its first motion only records the place. It
# stays till the end, so later tools move the same pointer.
point 60000 wait 300 to 640 360 $LAYOUT
HOLDER=$LAST_PID
frames_go_on || fail "the frogs stopped after the first motion"
as_nobody "$POINTER" 100 move 3 3 >/dev/null
frames_go_on || fail "the frogs stopped after a 3-pixel move"
kill -0 "$SAVER" || fail "the first motion or a 3-pixel move ended the saver"
pass "neither the first motion nor a move of 3 pixels ends the saver"
mv "$WORK/pointer.out" "$WORK/holder.out"
point 100 move 4 0
expect_end_by "a 4-pixel move"
pass "a 4-pixel move ends the saver with status 0 within $ENDED_MS ms"
# With the pointer gone, sway draws no cursor into what grim sees.
kill "$HOLDER"

# Blank screen: black everywhere, the bar covered too, and frogs on it.
saver_settings 50 0 1
start_saver
wait_for_frogs_on "$WORK/black.png"
pass "the saver covers both outputs and the bar"
typed_at=$(now_ms)
type_keys x
wait_until 5 not kill -0 "$SAVER" || fail "a key did not end the saver"
wait_exit "$SAVER" 1
[ "$EXIT_STATUS" = 0 ] || fail "a key: status $EXIT_STATUS"
typed_ms=$(($(now_ms) - typed_at))
[ "$typed_ms" -le 300 ] || fail "a key ended the saver only after $typed_ms ms"
pass "a key ends the saver with status 0 within $typed_ms ms of wtype's start"

# Each wtype call brings a keyboard of its own, whose key sway reports
# either as a press or only in the list of keys held at the focus's enter,
# each about every second time: every try must end the saver.
for try in $(seq 10); do
  start_saver
  wait_for_frogs_on "$WORK/black.png"
  type_keys x
  wait_until 5 not kill -0 "$SAVER" || fail "the key of try $try (of 10) did not end the saver"
  wait_exit "$SAVER" 1
  [ "$EXIT_STATUS" = 0 ] || fail "try $try: status $EXIT_STATUS"
done
pass "a key on a keyboard that comes with it ends the saver in each of 10 tries"

# A key held since before the start (as the Enter that started the saver
# from a terminal) does not end it, nor does its release; the next key does.
# The keyboard and its press come before the saver, which then sees the key
# in the list held at its first enter.
start_client held env WAYLAND_DEBUG=1 wtype -P a -s 5000 -p a
HELD=$LAST_PID
key_held() { grep -q 'zwp_virtual_keyboard_v1@[0-9]*\.key(' "$WORK/held.err"; }
wait_until 5 key_held || fail "wtype pressed no key: $(tail -3 "$WORK/held.err")"
start_saver
wait_until 10 shows_frogs_on "$WORK/black.png" \
  || fail "no frogs on black$(kill -0 "$SAVER" 2>/dev/null || echo ': a key held since before the start ended the saver')"
kill -0 "$HELD" 2>/dev/null || fail "the key was let go before the saver showed: no test"
wait_exit "$HELD" 10
frames_go_on "$WORK/black.png" || fail "the frogs stopped after the held key's release"
kill -0 "$SAVER" 2>/dev/null || fail "a key held since before the start ended the saver"
pass "a key held since before the start, and its release, leave the saver running"
type_keys x
wait_until 5 not kill -0 "$SAVER" || fail "a key after the held one's release did not end the saver"
wait_exit "$SAVER" 1
[ "$EXIT_STATUS" = 0 ] || fail "a key after the held one: status $EXIT_STATUS"
pass "the next key ends it with status 0"

saver_settings 50 0 0
start_saver
wait_for_frogs_on "$WORK/before.png"
point 100 wait 300 to 700 400 $LAYOUT click
expect_end_by "a click"
pass "a click ends the saver with status 0 within $ENDED_MS ms"

# A key held down ends the saver at its press, long before its release.
# With the user's keyboard on the seat from before the start, the press of
# another keyboard comes as a key of its own (on a seat without one, a new
# keyboard's first key may come in its enter instead: the typing checks
# above take that way).
start_resting_keyboard
start_saver
wait_for_frogs_on "$WORK/before.png"
start_client held wtype -P a -s 3000 -p a
HELD=$LAST_PID
wait_until 10 not kill -0 "$SAVER" || fail "a held key did not end the saver"
saver_gone=$(now_ms)
wait_exit "$SAVER" 1
[ "$EXIT_STATUS" = 0 ] || fail "a held key: status $EXIT_STATUS"
wait_exit "$HELD" 10
released_after=$(($(now_ms) - saver_gone))
[ "$released_after" -ge 2000 ] || fail "a held key ended the saver only $released_after ms before its release"
kill "$KEYBOARD"
pass "a key held for 3 s ends the saver at its press, $released_after ms before its release"

# Speed 200 with sounds of two seconds each, beside a copy of the program:
# a jump is a sound, then seven pauses of 200 ms, 3.4 s in all. A click in
# the sound, and one in a pause, end the saver at once: within 400 ms (the
# saver's own end takes about 100 ms, twice that on a busy machine), where a
# saver that waits for the sound's end or the jump's ends more than 700 ms
# after the click. The sound's start is the time the capture was written
# (the null device takes a sound at once).
APP="$WL_DIR/app"
mkdir -p "$APP"
cp "$PROGRAM" "$(dirname "$PROGRAM")/lilywade-sound.so" "$APP/"
silent_wav "$APP/bud.wav" 2
cp "$APP/bud.wav" "$APP/wizer.wav"
CAPTURE="$WL_DIR/captured.raw"
printf 'pcm.!default { type file slave.pcm { type null } file "|cat >>%s" format "raw" }\n' \
  "$CAPTURE" >"$WL_DIR/home/.asoundrc"
chown -R "$NOBODY:$NOBODY" "$APP" "$WL_DIR/home"
saver_settings 200 1 0
# Clicks $1 ms after the first sound began, where a saver that waited would
# end $2 ms after it began.
click_mid_jump() {
  rm -f "$CAPTURE"
  start_client saver "$APP/$(basename "$PROGRAM")" /S
  SAVER=$LAST_PID
  wait_until 10 test -s "$CAPTURE" || fail "no sound captured: $(tail -3 "$WORK/saver.err")"
  point 100 wait "$1" to 700 400 $LAYOUT click
  expect_end_by "a click $1 ms into a jump"
  local began; began=$(stat -c %.3Y "$CAPTURE" | tr -d .)
  LEFT=$((began + $2 - ACTED))
  [ "$LEFT" -ge 700 ] || fail "the click came $((ACTED - began)) ms into the jump, too late to tell"
  [ "$ENDED_MS" -le 400 ] || fail "a click $((ACTED - began)) ms into a jump ended the saver only after $ENDED_MS ms"
}
click_mid_jump 600 2000
pass "a click $((2000 - LEFT)) ms into a sound of 2 s ends the saver within $ENDED_MS ms"
click_mid_jump 2100 3400
pass "a click in a jump's pause, $((3400 - LEFT)) ms into the jump, ends the saver within $ENDED_MS ms"
saver_settings 50 0 0

start_saver
wait_for_frogs_on "$WORK/before.png"
kill -TERM "$SAVER"
wait_exit "$SAVER" 3
[ "$EXIT_STATUS" = 0 ] || fail "SIGTERM: status $EXIT_STATUS"
desktop_back() { capture "$WORK/now.png" && [ "$(differing_pixels "$WORK/now.png" "$WORK/before.png")" = 0 ]; }
wait_until 3 desktop_back || fail "the saver's picture stays after SIGTERM"
pass "SIGTERM ends the saver with status 0, and the desktop shows as before"

# The dialog on the compositor, with no X display at all; Esc cancels it.
# The toolkit's own windows take keys from a keyboard they already have
# (it passes over keys held at the focus's enter), as the user's keyboard
# is: one that rests from before the dialog's start.
start_resting_keyboard
start_client dialog "$PROGRAM" /C
DIALOG=$LAST_PID
dialog_shown() { as_nobody swaymsg -t get_tree | grep -q '"name": "Lilywade Settings"'; }
wait_until 10 dialog_shown || fail "no dialog on sway: $(tail -3 "$WORK/dialog.err")"
as_nobody wtype -k Escape
wait_exit "$DIALOG" 5
kill "$KEYBOARD"
[ "$EXIT_STATUS" = 0 ] || fail "the dialog: status $EXIT_STATUS"
pass "the dialog shows natively on sway, and Esc ends it with status 0"

# An X display beside the compositor: whatever WAYLAND_DISPLAY says, the
# preview embeds into an X window and the hack draws on the X root.
start_xvfb 640x480
export WAYLAND_DISPLAY="$WL_RUNTIME/$WAYLAND_DISPLAY"
xmessage -name host -title host -geometry 320x240+0+0 "host" &
CHILD_PIDS+=($!)
wait_until 10 window_exists host || fail "xmessage did not appear"
HOST=$(xdotool search --onlyvisible --name '^host$' | head -n1)
start_program /P "$HOST"
PREVIEW=$LAST_PID
wait_until 10 holds_picture "$HOST" || fail "the preview is not inside the X window"
kill -TERM "$PREVIEW"
wait_exit "$PREVIEW" 3
pass "the preview embeds into an X window while WAYLAND_DISPLAY names sway"
"$HACK" --root >"$WORK/hack-x.out" 2>"$WORK/hack-x.err" &
HACK_PID=$!
CHILD_PIDS+=("$HACK_PID")
convert -size 640x480 xc:black "PNG24:$WORK/black-x.png"
frogs_on_root() {
  screenshot "$WORK/root.png" || return 1
  local differing; differing=$(differing_pixels "$WORK/root.png" "$WORK/black-x.png")
  [ "$differing" -gt 0 ] && [ "$differing" -le "$FROG_PIXELS" ]
}
wait_until 10 frogs_on_root || fail "no frogs on the X root: $(cat "$WORK/hack-x.err")"
kill -TERM "$HACK_PID"
wait_exit "$HACK_PID" 3
[ "$EXIT_STATUS" = 0 ] || fail "the hack on the X root: status $EXIT_STATUS"
pass "the hack draws on the X root while WAYLAND_DISPLAY names sway"
export WAYLAND_DISPLAY="$(basename "$WAYLAND_DISPLAY")"

# A second session of the same user beside sway: Weston (no layer shell, no
# screen copies), its socket named as sway's in a runtime folder of its own.
# Its saver is no second saver of sway's: frogs on black, on full-screen
# toplevels, while sway's saver runs on.
start_saver
wait_for_frogs_on "$WORK/before.png"
SWAY_SAVER=$SAVER SWAY_PID=$COMPOSITOR_PID SWAY_RUNTIME=$WL_RUNTIME SWAY_DISPLAY=$WAYLAND_DISPLAY
WL_RUNTIME="$WL_DIR/runtime-weston"
WESTON_SOCKET=$SWAY_DISPLAY start_weston 1024 768 --debug
WESTON_PID=$COMPOSITOR_PID
convert -size 1024x768 xc:black "PNG24:$WORK/black-weston.png"
weston_frogs() {
  weston_capture "$WORK/weston.png" || return 1
  LIT=$(differing_pixels "$WORK/weston.png" "$WORK/black-weston.png")
  [ "$LIT" -gt 0 ] && [ "$LIT" -le "$FROG_PIXELS" ]
}
start_saver
wait_until 10 weston_frogs || fail "no frogs on black on Weston: status $(kill -0 "$SAVER" 2>/dev/null && echo running || echo ended), $(tail -3 "$WORK/saver.err")"
pass "on Weston, its socket named $SWAY_DISPLAY as sway's in another folder, a saver of its own: frogs on black"
# Weston holds the buffer it shows until the next one comes, so the saver
# paints each frame into the other of its two buffers: what changed in the
# frame before must be painted there too, or the frogs leave traces behind.
cp "$WORK/weston.png" "$WORK/weston-first.png"
moved=0 watch_until=$(($(now_ms) + 4000))
while [ "$(now_ms)" -lt "$watch_until" ]; do
  weston_frogs && [ "$LIT" -le "$TWO_FROGS" ] || fail "on Weston $LIT pixels lit, more than two frogs': traces of frames before"
  [ "$(differing_pixels "$WORK/weston.png" "$WORK/weston-first.png")" = 0 ] || moved=1
done
[ "$moved" = 1 ] || fail "the frogs on Weston did not move"
pass "on Weston, which holds the buffer shown, the frogs move for 4 s without leaving traces"

WL_RUNTIME=$SWAY_RUNTIME WAYLAND_DISPLAY=$SWAY_DISPLAY COMPOSITOR_PID=$SWAY_PID
expect_end_when_compositor_goes "$SWAY_SAVER" saver
COMPOSITOR_PID=$WESTON_PID
kill -TERM "$SAVER"
wait_exit "$SAVER" 3
[ "$EXIT_STATUS" = 0 ] || fail "SIGTERM on Weston: status $EXIT_STATUS"
pass "on Weston, SIGTERM ends the saver with status 0"
