# The desktop snapshot stays in memory: a saver run (sounds and marks on)
# creates or writes no file anywhere but the settings store, and prints
# nothing.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600
STORE="$XDG_CONFIG_HOME/lilywade/settings.ini"
mkdir -p "$(dirname "$STORE")"
printf '[Lilywade]\nStartup\\Speed=0\nStartup\\Sound=1\nStartup\\Hole=1\nStartup\\Streak=1\n' >"$STORE"

strace -f -qq -o "$WORK/trace" \
  -e trace=open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,link,linkat,symlink,symlinkat,truncate,ftruncate,memfd_create \
  "$PROGRAM" /S >"$WORK/program.out" 2>"$WORK/program.err" &
CHILD_PIDS+=($!)
wait_until 10 window_exists frog || fail "no saver window"
sleep 1.5 # let the frogs jump a few times
xdotool key a
wait_until 10 bash -c "! window_exists frog" 2>/dev/null || true
wait "${CHILD_PIDS[-1]}" || true

# Every call that could create or write a file and did not fail.
writes=$(grep -E 'O_CREAT|O_WRONLY|O_RDWR|mkdir|rename|link|creat\(|truncate|memfd' "$WORK/trace" \
  | grep -v -E '= -1 ' | grep -v -E '"/dev/(null|tty|snd/|shm/|dri/)' || true)
if [ -n "$writes" ]; then
  echo "$writes" >&2
  fail "the saver created or wrote files"
fi
[ ! -s "$WORK/program.out" ] && [ ! -s "$WORK/program.err" ] || fail "the saver printed something"
pass "a saver run writes no file and prints nothing"
