# The saver (/S) natively on headless KWin 5.27, KDE Plasma's compositor, with
# two outputs at scale 2 and a patterned window on each. Installed with
# `cmake --install --prefix ~/.local`, its desktop entry lets KWin give it a
# copy of the screen: it covers both outputs with that picture, equal outside
# the frogs to the copy the test takes just before, and a key, a click, a
# move of more than 3 pixels and SIGTERM end it with status 0; with Blank
# on, black. A copy of the program that no entry names is refused: frogs on
# black, at once. KWin going away ends the saver with status 1.
# (The two outputs are of one size: KWin's --output-count gives no other,
# and a scale per output would take KDE's output management protocol.)
# Arguments: PROGRAM KWIN_TOOL CMAKE BUILD_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
source "$(dirname "$0")/kwin_lib.sh"
KWIN_TOOL="${2:?kwin_tool}" CMAKE="${3:?cmake}" BUILD="${4:?build folder}"

# Two frogs, 55 x 55 frog pixels at most, at frog scale 2.
FROG_PIXELS=$((2 * 110 * 110))

start_kwin 640 400 2
[ "$KWIN_CAPTURES" = yes ] || fail "KWin cancels its copies: $(cat "$WORK/shot.err")"
pass "KWin's socket after $KWIN_SOCKET_MS ms, its screen copies after $KWIN_READY_MS ms"

# The saver installed as the README says, under ~/.local; its entry is the
# install's, naming the program where it was installed.
PREFIX="$WL_DIR/home/.local"
"$CMAKE" --install "$BUILD" --component saver-entry --prefix "$PREFIX" >"$WORK/install.log" \
  || fail "install: $(cat "$WORK/install.log")"
INSTALLED="$PREFIX/libexec/lilywade/Lilywade.scr"
mkdir -p "$(dirname "$INSTALLED")"
cp "$PROGRAM" "$(dirname "$PROGRAM")/lilywade-sound.so" "$(dirname "$INSTALLED")/"
chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
grep -q "^Exec=$INSTALLED /S$" "$KWIN_APPS/lilywade.desktop" \
  || fail "the installed entry does not name $INSTALLED: $(grep ^Exec "$KWIN_APPS/lilywade.desktop")"

saver_settings() { # Speed Sound Blank
  XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings "$@"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
}
start_saver() { # PROGRAM
  start_client saver "$1" /S
  SAVER=$LAST_PID
}

# True when KWin shows image $1 with frogs on it: it differs in some pixels,
# no more than two frogs cover. The capture is in $WORK/now.png.
shows_frogs_on() {
  kwin_capture "$WORK/now.png" || return 1
  DIFFERING=$(differing_pixels "$WORK/now.png" "$1")
  [ "$DIFFERING" -gt 0 ] && [ "$DIFFERING" -le "$FROG_PIXELS" ]
}
wait_for_frogs_on() {
  DIFFERING="no capture"
  wait_until 10 shows_frogs_on "$1" \
    || fail "no frogs on $(basename "$1"): $DIFFERING pixels differ; $(tail -3 "$WORK/saver.err")"
}

# Waits for the saver to end with status 0 after $ACTED; $1 names the cause.
expect_end() {
  wait_until 5 not kill -0 "$SAVER" || fail "$1 did not end the saver"
  ENDED_MS=$(($(now_ms) - ACTED))
  wait_exit "$SAVER" 1
  [ "$EXIT_STATUS" = 0 ] || fail "$1: status $EXIT_STATUS"
}

start_kwin_pattern
hold_kwin_pointer
patterned() {
  kwin_capture "$WORK/before.png" || return 1
  crop "$WORK/before.png" 1280x800+0+0 "$WORK/left.png"
  crop "$WORK/before.png" 1280x800+1280+0 "$WORK/right.png"
  not all_black "$WORK/left.png" && not all_black "$WORK/right.png" \
    && [ "$(differing_pixels "$WORK/left.png" "$WORK/right.png")" != 0 ]
}
wait_until 10 patterned || fail "the pattern windows do not cover both outputs"
[ "$(identify -format %wx%h "$WORK/before.png")" = 2560x800 ] \
  || fail "KWin's copy is $(identify -format %wx%h "$WORK/before.png"), not two outputs of 1280x800"
convert "$WORK/before.png" -fill black -colorize 100 "PNG24:$WORK/black.png"

saver_settings 50 0 0
kwin_capture "$WORK/before.png"
started=$(now_ms)
start_saver "$INSTALLED"
unfocused_since "$started"
wait_for_frogs_on "$WORK/before.png"
AUTHORISED_MS=$UNFOCUSED_MS
pass "frogs on the desktop KWin showed just before, on both outputs; up $UNFOCUSED_MS ms after the start"
kwin_input key
expect_end "a key"
pass "a key ends the saver with status 0 within $ENDED_MS ms"

# KWin gives the pointer to a surface that comes under it at its next motion,
# which only records the place.
start_saver "$INSTALLED"
wait_for_frogs_on "$WORK/before.png"
kwin_input move 1 0
wait_for_frogs_on "$WORK/before.png"
kill -0 "$SAVER" || fail "the first motion ended the saver"
kwin_input click
expect_end "a click"
pass "a click ends the saver with status 0 within $ENDED_MS ms"

# The first motion only records the place; at scale 2 a move of 2 logical
# pixels is 4 screen pixels, 2 frog pixels: the saver stays.
start_saver "$INSTALLED"
wait_for_frogs_on "$WORK/before.png"
kwin_input move 1 0
kwin_input move 2 0
wait_for_frogs_on "$WORK/before.png"
kill -0 "$SAVER" || fail "the first motion or a move of 2 frog pixels ended the saver"
kwin_input move 4 0
expect_end "a move of 4 frog pixels"
pass "a move of 4 frog pixels ends the saver with status 0 within $ENDED_MS ms, the first motion and 2 pixels do not"

saver_settings 50 0 1
start_saver "$INSTALLED"
wait_for_frogs_on "$WORK/black.png"
kill -TERM "$SAVER"
ACTED=$(now_ms)
expect_end SIGTERM
pass "with Blank on, frogs on black on both outputs; SIGTERM ends the saver with status 0"
saver_settings 50 0 0

# The build's own program: no entry names it, so KWin refuses it a copy.
# Its surfaces take the keyboard as they show; a refusal is not waited out
# for the copy's time limit of 2 s, so they show no later than those of the
# saver that got its copy (measured alike, on a machine as busy).
started=$(now_ms)
start_saver "$PROGRAM"
unfocused_since "$started"
[ "$UNFOCUSED_MS" -lt $((AUTHORISED_MS + 1000)) ] \
  || fail "the refused saver showed only after $UNFOCUSED_MS ms, the authorised one after $AUTHORISED_MS ms"
wait_for_frogs_on "$WORK/black.png"
kill -TERM "$SAVER"
ACTED=$(now_ms)
expect_end "SIGTERM to the refused saver"
pass "a copy no entry names shows frogs on black, $UNFOCUSED_MS ms after its start, and ends on SIGTERM"

start_saver "$INSTALLED"
wait_for_frogs_on "$WORK/before.png"
expect_end_when_compositor_goes "$SAVER" saver
