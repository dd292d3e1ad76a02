# Where the end-to-end tests' compositors and their tools come from, sourced
# by wayland_lib.sh and gnome_lib.sh: "host" (this system's, Debian 12) or
# "testing" (Debian testing's, in the root testing_root.sh builds), as
# $LILYWADE_COMPOSITORS says. Programs of the test's own (the saver, its
# input tools) always run on the host, against the compositor's socket.

COMPOSITORS="${LILYWADE_COMPOSITORS:-host}"
TESTING_ROOT="${LILYWADE_TESTING_ROOT:-/var/cache/lilywade/testing-root}"
if [ "$COMPOSITORS" = testing ] && [ ! -f "$TESTING_ROOT/.lilywade-stamp" ]; then
  fail "no Debian testing root at $TESTING_ROOT (testing_root.sh builds it)"
fi

# The prefix that runs a command chrooted into the testing root, with proc,
# the devices, a /run and /tmp of its own and the test's folder at the same
# path as on the host, so that sockets, configurations and pictures have one
# name on both sides. The mounts are in a mount namespace of the command's
# own: they go with it, however it ends. Each step execs the next, so the
# prefix's pid is the command's. Empty where the compositors are the host's.
COMPOSITOR_SIDE=()
if [ "$COMPOSITORS" = testing ]; then
  COMPOSITOR_SIDE=(unshare -m --propagation private bash -c 'r=$1 w=$2; shift 2
    mount -t proc proc "$r/proc" && mount --bind /dev "$r/dev" && mount -t tmpfs tmpfs "$r/dev/shm" \
      && mount -t tmpfs tmpfs "$r/run" && mount -t tmpfs tmpfs "$r/tmp" && mkdir -p "$r$w" \
      && mount --bind "$w" "$r$w" && exec chroot "$r" "$@"' - "$TESTING_ROOT" "$WORK")
fi

# Runs $@, a compositor or a tool of its release, where the compositors come from.
compositor_side() { "${COMPOSITOR_SIDE[@]}" "$@"; }
