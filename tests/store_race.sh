# Two processes writing the store at once, one of them slowed down: strace
# holds up each of its reads of the settings file by 50 ms, the moment at
# which a save by the other process once went unnoticed and was then
# overwritten. Neither may lose a key.
set -euo pipefail
WRITER="${1:?usage: store_race.sh PATH/TO/store_writer}"
ROUNDS="${2:-3}"
WORK="$(mktemp -d /tmp/lilywade-store-race.XXXXXX)"
FAST=""
trap '[ -z "$FAST" ] || kill "$FAST" 2>/dev/null || true; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
STORE="$WORK/lilywade/settings.ini"

for round in $(seq 1 "$ROUNDS"); do
  rm -rf "$WORK/lilywade"
  mkdir -p "$WORK/lilywade"
  # The fast writer goes on until the slow one is done.
  "$WRITER" "$STORE" fast 100000 2>"$WORK/fast.err" & FAST=$!
  strace -qq -o "$WORK/trace" -P "$STORE" -e trace=read -e inject=read:delay_exit=50000 \
    "$WRITER" "$STORE" slow 20 2>"$WORK/slow.err" || fail "round $round: the slow writer failed"
  kill "$FAST"; wait "$FAST" 2>/dev/null || true; FAST=""
  delayed=$(grep -c DELAYED "$WORK/trace" || true)
  [ "$delayed" -ge 20 ] || fail "round $round: strace held up only $delayed reads"
  slow=$("$WRITER" --check "$STORE" slow) || fail "round $round: keys of the slow writer lost"
  fast=$("$WRITER" --check "$STORE" fast) || fail "round $round: keys of the fast writer lost"
  [ "$slow" = 20 ] || fail "round $round: $slow of 20 keys of the slow writer kept"
  [ "$fast" -ge 20 ] || fail "round $round: the fast writer wrote only $fast keys meanwhile"
  [ ! -s "$WORK/slow.err" ] && [ ! -s "$WORK/fast.err" ] \
    || fail "round $round: a writer printed: $(cat "$WORK/slow.err" "$WORK/fast.err")"
  echo "ok: round $round: 20 slowed and $fast fast writes kept, $delayed reads held up"
done
