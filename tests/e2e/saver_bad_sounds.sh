# Sound files that cannot play (a directory, text, an empty file, a cut
# header, or none at all) never stop the saver: each jump rings the bell
# instead and the frogs go on hopping. So does a missing sound module, which
# the program names once on stderr.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600
mkdir -p "$XDG_CONFIG_HOME/lilywade"
printf '[Lilywade]\nStartup\\Sound=1\nStartup\\Speed=0\n' >"$XDG_CONFIG_HOME/lilywade/settings.ini"

# The program reads its sounds and its sound module from its own folder: run
# a copy in a folder of broken files.
APP="$WORK/app"
mkdir -p "$APP"
cp "$PROGRAM" "$(dirname "$PROGRAM")/lilywade-sound.so" "$APP/"
PROGRAM="$APP/$(basename "$PROGRAM")"

check_goes_on() { # WHAT
  start_program /S
  wait_until 10 window_exists frog || fail "$1: no saver window"
  screenshot "$WORK/a.png"
  # Frames keep coming: the screen changes again and again.
  for round in 1 2 3; do
    wait_until 5 bash -c "screenshot() { xwd -root -silent | convert xwd:- \"png:\$1\"; }; \
      screenshot '$WORK/b.png'; ! compare -metric AE '$WORK/a.png' '$WORK/b.png' null: 2>/dev/null" \
      || fail "$1: the frogs stopped"
    mv "$WORK/b.png" "$WORK/a.png"
  done
  xdotool key a
  wait_exit "$LAST_PID" 5
  [ "$EXIT_STATUS" -eq 0 ] || fail "$1: status $EXIT_STATUS"
  pass "$1: the frogs go on"
}

rm -rf "$APP/bud.wav" "$APP/wizer.wav"
check_goes_on "no sound files"
mkdir "$APP/bud.wav"; echo "not a sound" >"$APP/wizer.wav"
check_goes_on "a directory and a text file"
rm -rf "$APP/bud.wav"; : >"$APP/bud.wav"; printf 'RIFF\x24\x00\x00\x00WAVEfmt ' >"$APP/wizer.wav"
check_goes_on "an empty file and a cut header"

cp "$(dirname "$0")/../../sounds/bud.wav" "$(dirname "$0")/../../sounds/wizer.wav" "$APP/"
rm "$APP/lilywade-sound.so"
check_goes_on "no sound module"
[ "$(grep -c 'no sound module' "$WORK/program.err")" -eq 1 ] \
  || fail "the missing module is not named exactly once: $(cat "$WORK/program.err")"
pass "the missing module is named once"
