# The desktop snapshot stays in memory: a saver run (sounds and marks on)
# creates or writes no file anywhere but the settings store, and prints
# nothing; no process it started outlives it. A thread's name written to
# /proc (as PipeWire's ALSA plugin does) is no file.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600
STORE="$XDG_CONFIG_HOME/lilywade/settings.ini"
mkdir -p "$(dirname "$STORE")"
printf '[Lilywade]\nStartup\\Speed=0\nStartup\\Sound=1\nStartup\\Hole=1\nStartup\\Streak=1\n' >"$STORE"

strace -f -qq -o "$WORK/trace" \
  -e trace=open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,link,linkat,symlink,symlinkat,truncate,ftruncate,memfd_create \
  env "$RUN_MARK" "$PROGRAM" /S >"$WORK/program.out" 2>"$WORK/program.err" &
TRACER=$!
CHILD_PIDS+=("$TRACER")
wait_until 10 window_exists frog || fail "no saver window"
# Every jump of the red frog opens its sound: wait for a few ticks, so that
# sounds have played and marks have been drawn before the end.
ticks_done() { [ "$(grep -c 'wizer\.wav"' "$WORK/trace")" -ge 3 ]; }
wait_until 30 ticks_done || fail "the frogs did not jump three times"
xdotool key a
wait_until 10 not window_exists frog || fail "the saver window stayed after a key"
# strace ends with the saver's status once every process it traced has ended.
wait_until 10 not kill -0 "$TRACER" || fail "processes outlive the saver: $(marked_processes)"
wait_exit "$TRACER" 1
[ "$EXIT_STATUS" -eq 0 ] || fail "the saver ended with status $EXIT_STATUS"
expect_nothing_left
pass "no process outlives the saver"

# Every call that could create or write a file and did not fail.
writes=$(grep -E 'O_CREAT|O_WRONLY|O_RDWR|mkdir|rename|link|creat\(|truncate|memfd' "$WORK/trace" \
  | grep -v -E '= -1 ' | grep -v -E '"/dev/(null|tty|snd/|shm/|dri/)' \
  | grep -v -E '"/proc/(self|[0-9]+)/task/[0-9]+/comm"' || true)
if [ -n "$writes" ]; then
  echo "$writes" >&2
  fail "the saver created or wrote files"
fi
[ ! -s "$WORK/program.out" ] && [ ! -s "$WORK/program.err" ] || fail "the saver printed something"
pass "a saver run writes no file and prints nothing"
