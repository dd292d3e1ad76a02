#!/usr/bin/env bash
# Builds the Debian testing root in which the end-to-end tests run today's
# compositors (sway, KWin, GNOME Shell), once: it is kept between runs in a
# cache folder outside the source tree and made again only when its package
# list, suite or archive changes (a stamp holds their hash). Every mount it
# needs is made in a mount namespace of its own, so the kernel undoes them
# when the namespace ends, however it ends; nothing of the host's system is
# touched. On failure it says why in one line and exits 1: the tests that
# need the root then fail, they do not skip.
# Usage: testing_root.sh            (the root's folder: $LILYWADE_TESTING_ROOT,
#                                    /var/cache/lilywade/testing-root unless set)
set -euo pipefail

ROOT="${LILYWADE_TESTING_ROOT:-/var/cache/lilywade/testing-root}"
SUITE=forky
PACKAGES=(sway swaybg grim wtype kwin-wayland gnome-shell dbus-daemon dbus libglib2.0-bin
  dconf-service gsettings-desktop-schemas fonts-dejavu-core util-linux)
LOG="$ROOT.log"

fail() { echo "FAIL: testing root: $* (log: $LOG)" >&2; exit 1; }

# The archive this host's apt uses: a testing root from the same place.
mirror() { awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null; }

stamp() { printf '%s\n' "$SUITE" "$(mirror)" "${PACKAGES[@]}" | sha256sum | cut -d' ' -f1; }

# Runs $2... chrooted in root $1 with proc, the devices and a /run of its own,
# all in a private mount namespace.
in_new_root() {
  local root="$1"; shift
  unshare -m --propagation private bash -c 'r=$1; shift
    mount -t proc proc "$r/proc" && mount --bind /dev "$r/dev" && mount -t tmpfs tmpfs "$r/run" \
      && mount -t tmpfs tmpfs "$r/dev/shm" && exec chroot "$r" "$@"' - "$root" "$@"
}

build() {
  local new="$ROOT.new" apt=(apt-get -q -y -o Acquire::Check-Valid-Until=false)
  [ "$(id -u)" = 0 ] || fail "building it needs root"
  command -v debootstrap >/dev/null || fail "debootstrap is not installed"
  [ -n "$(mirror)" ] || fail "no archive in /etc/apt/sources.list.d/debian.sources"
  rm -rf "$new"
  # debootstrap mounts proc and sys in the root; its own namespace takes them away.
  unshare -m --propagation private debootstrap --variant=minbase --include=ca-certificates \
    "$SUITE" "$new" "$(mirror)" /usr/share/debootstrap/scripts/sid >>"$LOG" 2>&1 \
    || fail "debootstrap $SUITE failed: $(tail -n1 "$LOG")"
  in_new_root "$new" "${apt[@]}" update >>"$LOG" 2>&1 || fail "apt-get update failed: $(tail -n1 "$LOG")"
  in_new_root "$new" env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install --no-install-recommends \
    "${PACKAGES[@]}" >>"$LOG" 2>&1 || fail "installing the packages failed: $(tail -n1 "$LOG")"
  in_new_root "$new" apt-get clean >>"$LOG" 2>&1
  # GNOME Shell expects logind when it sees this; the root's /run is a tmpfs anyway.
  rm -rf "$new/run/systemd"
  stamp >"$new/.lilywade-stamp"
  rm -rf "$ROOT"
  mv "$new" "$ROOT"
}

main() {
  mkdir -p "$(dirname "$ROOT")" 2>/dev/null && exec {lock}>"$ROOT.lock" \
    || { echo "FAIL: testing root: cannot write in $(dirname "$ROOT")" >&2; exit 1; }
  # Two suites started side by side build it once.
  flock "$lock"
  if [ "$(cat "$ROOT/.lilywade-stamp" 2>/dev/null)" = "$(stamp)" ]; then
    echo "ok: testing root $ROOT is up to date"
    return
  fi
  local started=$SECONDS
  : >"$LOG"
  build
  echo "ok: testing root $ROOT built in $((SECONDS - started)) s ($(du -sm "$ROOT" | cut -f1) MB)"
}

main
