# Shared by ./run and ./test: installs missing Debian packages, then
# configures and builds into build/ (incrementally; nothing when up to date).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

RUN_PACKAGES=(g++ cmake make pkg-config dpkg-dev qt6-base-dev libxcb1-dev libxcb-shm0-dev
  libasound2-dev libsndfile1-dev libgl-dev fonts-dejavu-core libqt6widgets6
  libwayland-dev libwayland-bin wayland-protocols plasma-wayland-protocols libxcb-screensaver0-dev)
TEST_PACKAGES=(libx11-dev libxfixes-dev googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool
  x11-apps x11-utils x11-xserver-utils xfonts-base xauth imagemagick alsa-utils procps
  psmisc clang libclang-rt-14-dev strace
  openbox python3 lintian desktop-file-utils libxml2-utils xscreensaver
  sway grim wtype swayidle weston qt6-wayland
  kwin-wayland libxss-dev debootstrap
  mutter gnome-shell dbus libglib2.0-bin)

install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "error: packages missing and not running as root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# $1: ON to build the tests too. ./run keeps whatever an existing build has;
# a new one gets only the program, whose packages are all it installs.
configure_and_build() {
  local tests="${1:-OFF}" cache="$BUILD/CMakeCache.txt"
  if [ ! -f "$cache" ] || { [ "$tests" = ON ] && ! grep -q '^LILYWADE_TESTS:BOOL=ON' "$cache"; }; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLILYWADE_TESTS="$tests" >/dev/null
  fi
  # Only what was really built is worth a line: drop the up-to-date notes.
  cmake --build "$BUILD" -j "$(nproc)" 2>&1 \
    | { grep -v -E '^\[ *[0-9]+%\] (Built target|Automatic (MOC|RCC))' || true; }
}

# The unit tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
build_sanitized() {
  if [ ! -f "$ROOT/build-asan/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DLILYWADE_SANITIZE=ON \
      -DCMAKE_CXX_FLAGS=-O1 >/dev/null
  fi
  cmake --build "$ROOT/build-asan" -j "$(nproc)" --target unit_tests
}

# The libFuzzer targets, built with clang.
build_fuzzers() {
  if [ ! -f "$ROOT/build-fuzz/CMakeCache.txt" ]; then
    cmake -S "$ROOT/tests/fuzz" -B "$ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  fi
  cmake --build "$ROOT/build-fuzz" -j "$(nproc)"
}
