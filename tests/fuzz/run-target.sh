#!/usr/bin/env bash
# Runs one fuzz target for a while from its seed corpus (kept unchanged).
# Usage: run-target.sh FUZZ_BINARY CORPUS_DIR SECONDS
# A crash leaves its input in the working folder printed below and fails.
set -euo pipefail
binary="$1" corpus="$2" seconds="${3:-30}"
[ -x "$binary" ] || { echo "missing fuzz target $binary (build tests/fuzz first)" >&2; exit 1; }
work="$(mktemp -d /tmp/lilywade-fuzz.XXXXXX)"
cp -r "$corpus/." "$work/corpus/" 2>/dev/null || { mkdir -p "$work/corpus"; cp -r "$corpus/." "$work/corpus/"; }
export QT_QPA_PLATFORM=offscreen
if "$binary" -seed=1 -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" >"$work/log" 2>&1; then
  grep -E "^stat::number_of_executed_units|^Done" "$work/log" || true
  rm -rf "$work"
else
  tail -40 "$work/log"
  echo "fuzz target failed; inputs and log kept in $work" >&2
  exit 1
fi
