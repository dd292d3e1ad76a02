# The saver (/S), built here, on Debian testing's KWin with two outputs, each
# covered by a patterned window. KWin runs in the testing root nested in its
# headless sway (kwin_lib.sh), and grim shows what it shows. The saver, named
# by a desktop entry, asks KWin's ScreenShot2 for each output: where KWin gives
# copies, both outputs show frogs on the desktop as it was just before;
# where it cancels them (software compositing, no GPU: this kind of machine),
# frogs on black. A key through KWin's fake input ends it with status 0.
# Arguments: PROGRAM KWIN_TOOL
source "$(dirname "$0")/lib.sh"
LILYWADE_COMPOSITORS=testing
source "$(dirname "$0")/wayland_lib.sh"
source "$(dirname "$0")/kwin_lib.sh"
KWIN_TOOL="${2:?kwin_tool}"
FROG_PIXELS=$((2 * 55 * 55)) # two frogs change no more pixels than this

start_kwin 640 400 1
kwin_version=$(tool_as_nobody kwin_wayland --version)
pass "$kwin_version nested in sway: its socket after $KWIN_SOCKET_MS ms, ScreenShot2 answers after $KWIN_READY_MS ms, copies: $KWIN_CAPTURES"

# KWin matches the entry inside the root with the saver's path on the host:
# the saver and its sound module in the test's folder, which both share.
SAVER_COPY="$WL_DIR/lilywade/Lilywade.scr"
mkdir -p "$(dirname "$SAVER_COPY")"
cp "$PROGRAM" "$(dirname "$PROGRAM")/lilywade-sound.so" "$(dirname "$SAVER_COPY")/"
authorise_in_kwin lilywade "$SAVER_COPY /S" "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2"
saver_settings() {
  XDG_CONFIG_HOME="$WL_DIR/home/.config" write_settings "$@"
  chown -R "$NOBODY:$NOBODY" "$WL_DIR/home"
}

start_kwin_pattern
hold_kwin_pointer
patterned() {
  kwin_capture "$WORK/before.png" || return 1
  local half=$(($(identify -format %w "$WORK/before.png") / 2)) height; height=$(identify -format %h "$WORK/before.png")
  crop "$WORK/before.png" "${half}x$height+0+0" "$WORK/left.png"
  crop "$WORK/before.png" "${half}x$height+$half+0" "$WORK/right.png"
  not all_black "$WORK/left.png" && not all_black "$WORK/right.png" \
    && [ "$(differing_pixels "$WORK/left.png" "$WORK/right.png")" != 0 ]
}
wait_until 10 patterned || fail "the pattern windows do not cover both outputs"
if [ "$KWIN_CAPTURES" = yes ]; then
  kwin_answers && cp "$WORK/screenshot2.png" "$WORK/expected.png"
else
  convert "$WORK/before.png" -fill black -colorize 100 "PNG24:$WORK/expected.png"
fi

shows_frogs() {
  kwin_capture "$WORK/now.png" || return 1
  DIFFERING=$(differing_pixels "$WORK/now.png" "$WORK/expected.png")
  [ "$DIFFERING" -gt 0 ] && [ "$DIFFERING" -le "$FROG_PIXELS" ]
}
saver_settings 50 0 0
start_client saver "$SAVER_COPY" /S
SAVER=$LAST_PID
DIFFERING="no capture"
wait_until 10 shows_frogs || fail "the outputs show no frogs on the expected picture: $DIFFERING pixels differ; $(tail -3 "$WORK/saver.err")"
if [ "$KWIN_CAPTURES" = yes ]; then
  pass "both outputs show frogs on the desktop ScreenShot2 gave just before"
else
  pass "both outputs covered with frogs on black: KWin cancels ScreenShot2's copies here"
fi

kwin_input key
wait_until 5 not kill -0 "$SAVER" || fail "a key through fake input did not end the saver"
ended_ms=$(($(now_ms) - ACTED))
wait_exit "$SAVER" 1
[ "$EXIT_STATUS" = 0 ] || fail "a key: status $EXIT_STATUS"
pass "a key through KWin's fake input ends the saver with status 0 within $ended_ms ms"
