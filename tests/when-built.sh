#!/usr/bin/env bash
# Runs a test whose binary lives in another build folder (build-asan,
# build-fuzz), which ./test builds first. Without that binary a plain `ctest`
# in build/ skips the test (status 77, the tests' SKIP_RETURN_CODE) instead of
# failing it; ./test sets LILYWADE_REQUIRE_BUILT=1, so there it fails.
# Usage: when-built.sh BINARY COMMAND [ARGUMENT...]
set -euo pipefail
binary="${1:?binary}"; shift
if [ ! -x "$binary" ]; then
  if [ "${LILYWADE_REQUIRE_BUILT:-0}" = 1 ]; then
    echo "missing $binary" >&2
    exit 1
  fi
  echo "skipped: $binary is not built (./test builds it)"
  exit 77
fi
exec "$@"
