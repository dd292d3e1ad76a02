# The settings store under stress: concurrent writers, writers killed at
# random moments, and files that are not settings files.
set -euo pipefail
WRITER="${1:?usage: store_stress.sh PATH/TO/store_writer}"
WORK="$(mktemp -d /tmp/lilywade-store.XXXXXX)"
BUSY=()
trap 'kill "${BUSY[@]}" 2>/dev/null || true; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
STORE="$WORK/lilywade/settings.ini"

# Two processes writing 1000 different keys each lose none of them.
"$WRITER" "$STORE" a 1000 & first=$!
"$WRITER" "$STORE" b 1000 & second=$!
wait $first || fail "writer a failed"
wait $second || fail "writer b failed"
[ "$("$WRITER" --check "$STORE" a)" = 1000 ] || fail "keys of writer a lost"
[ "$("$WRITER" --check "$STORE" b)" = 1000 ] || fail "keys of writer b lost"
echo "ok: 2 x 1000 concurrent writes kept"

# The same on a busy machine: two writers at the lowest priority beside a
# busy loop per core, five times.
for _ in $(seq 1 "$(nproc)"); do { while :; do :; done; } & BUSY+=($!); done
for round in $(seq 1 5); do
  rm -rf "$WORK/lilywade"
  nice -n 19 "$WRITER" "$STORE" a 100 & first=$!
  nice -n 19 "$WRITER" "$STORE" b 100 & second=$!
  wait $first && wait $second || fail "round $round: a writer failed"
  [ "$("$WRITER" --check "$STORE" a)" = 100 ] && [ "$("$WRITER" --check "$STORE" b)" = 100 ] \
    || fail "round $round under load: keys lost"
done
kill "${BUSY[@]}"; wait "${BUSY[@]}" 2>/dev/null || true; BUSY=()
echo "ok: 5 x 2 x 100 concurrent writes under load kept"

# One writer slowed down where a save of the other once went unnoticed.
bash "$(dirname "$0")/store_race.sh" "$WRITER" 10

# A writer killed at a random moment leaves a complete earlier or later
# state: every round rewrites the same keys in order, so the keys stored
# always form an unbroken run that never shrinks.
rm -rf "$WORK/lilywade"
previous=0
for round in $(seq 1 100); do
  "$WRITER" "$STORE" k 100000 & pid=$!
  sleep "0.0$(( RANDOM % 9 + 1 ))$(( RANDOM % 10 ))"
  kill -9 $pid; wait $pid 2>/dev/null || true
  count=$("$WRITER" --check "$STORE" k) || fail "round $round: store inconsistent"
  [ "$count" -ge "$previous" ] || fail "round $round: $count keys after $previous"
  previous=$count
done
echo "ok: 100 writers killed at random moments, the store always complete"

# Files that are not settings files read as defaults and are never lost.
check_unusable() {
  local what="$1"
  [ "$("$WRITER" --check "$STORE" x)" = 0 ] || fail "$what: did not read as empty"
  "$WRITER" "$STORE" x 3 || fail "$what: write failed"
  [ "$("$WRITER" --check "$STORE" x)" = 3 ] || fail "$what: write not read back"
  ls "$WORK/lilywade"/settings.ini.unreadable-* >/dev/null 2>&1 || fail "$what: old file not kept"
  echo "ok: $what"
  rm -rf "$WORK/lilywade"; mkdir -p "$WORK/lilywade"
}
mkdir -p "$WORK/lilywade"
head -c 4096 /dev/urandom > "$STORE"; check_unusable "garbage"
{ echo "[Lilywade]"; head -c 10000000 /dev/zero | tr '\0' 'a'; } > "$STORE"; check_unusable "10 MB file"
mkdir "$STORE"; check_unusable "a directory"
ln -s "$WORK/nowhere/settings.ini" "$STORE"; check_unusable "a dangling symlink"
printf '[Lilywade]\nStartup\\x0=0\n' > "$STORE"; chmod 000 "$STORE"
if [ "$(id -u)" -ne 0 ]; then check_unusable "an unreadable file"; fi
