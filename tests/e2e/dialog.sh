# Settings dialog on a real X server: where it opens, a screenshot for people
# to look at (dialog.png beside the program), Esc storing nothing, and Return
# after a few keys storing through OK. Each run must end with status 0.
source "$(dirname "$0")/lib.sh"
BUILD_DIR="$(cd "$(dirname "$PROGRAM")" && pwd)"
start_xvfb 1024x768
STORE_FILE="$XDG_CONFIG_HOME/lilywade/settings.ini"

TITLE="Lilywade Settings"

# Starts the program and waits until its dialog is up and has the keyboard.
open_dialog() {
  start_program "$@"
  wait_until 10 window_exists "$TITLE" \
    || fail "'$*' opened no settings dialog: $(cat "$WORK/program.err")"
  DIALOG=$(xdotool search --onlyvisible --name "^$TITLE\$" | head -n1)
  wait_until 5 has_focus || fail "the dialog did not get the keyboard"
}
has_focus() { [ "$(xdotool getwindowfocus)" = "$DIALOG" ]; }

# Once painted, the dialog shows text and frames in many shades.
painted() { [ "$(xwd -id "$DIALOG" -silent | convert xwd:- -format %k info:)" -gt 20 ]; }

# A stored value by key, as the store file spells it.
stored() { sed -n "s/^Startup\\\\$1=//p" "$STORE_FILE"; }

open_dialog /C
geometry=$(xdotool getwindowgeometry "$DIALOG")
grep -q "Position: 124,186" <<<"$geometry" || fail "dialog not at 124,186: $geometry"
grep -q "Geometry: 462x285" <<<"$geometry" || fail "dialog not 462x285: $geometry"
pass "the dialog opens at 124,186 with a 462 x 285 client area"

wait_until 5 painted || fail "the dialog was not painted"
xwd -id "$DIALOG" -silent | convert xwd:- "png:$BUILD_DIR/dialog.png"
pass "screenshot in $BUILD_DIR/dialog.png"

xdotool key Escape
wait_exit "$LAST_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "Esc: exit status $EXIT_STATUS"
[ ! -e "$STORE_FILE" ] || fail "Esc stored settings: $(cat "$STORE_FILE")"
pass "Esc closes the dialog, stores nothing, status 0"

# No argument opens the dialog too. From OK: Tab to "Frog Clears screen when
# at rest" and check it, Tab on to the bar, one arrow step and one page step.
open_dialog
xdotool key Tab Tab space Tab Tab Tab Tab Right Next Return
wait_exit "$LAST_PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "Return: exit status $EXIT_STATUS"
[ -f "$STORE_FILE" ] || fail "Return stored nothing"
actual="$(stored Hole) $(stored Streak) $(stored Sound) $(stored blank) $(stored Speed)"
[ "$actual" = "1 0 0 0 40" ] || fail "stored Hole Streak Sound blank Speed = '$actual'"
pass "Return presses OK and stores the dialog's values, status 0"
expect_nothing_left
pass "no process outlives the dialog"
