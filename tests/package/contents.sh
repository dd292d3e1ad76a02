# The Debian package as a user gets it: its name, control fields and exact
# file list, lintian without errors, binaries hardened as Debian's are,
# valid menu entries, and the icon.
# Usage: contents.sh BUILD_DIR VERSION [--with-hack]
set -euo pipefail
BUILD="${1:?build folder}" VERSION="${2:?version}" HACK="${3:-}"
DEB="$BUILD/lilywade_${VERSION}_$(dpkg --print-architecture).deb"
WORK="$(mktemp -d /tmp/lilywade-package.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

[ -f "$DEB" ] || fail "no $DEB"

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = lilywade ] && [ "$(field Version)" = "$VERSION" ] \
  && [ "$(field Section)" = x11 ] && [ "$(field Priority)" = optional ] \
  || fail "control fields: $(dpkg-deb -f "$DEB" Package Version Section Priority | tr '\n' ' ')"
[ "$(field Suggests)" = xscreensaver ] || fail "Suggests: $(field Suggests)"
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends: $(field Recommends)"
# dpkg-shlibdeps found the libraries the program and the sound module link.
# Fields are read whole, never into a reader that stops early: dpkg-deb
# writes line by line, and a closed pipe would end this script unseen.
depends=$(field Depends)
for library in libqt6gui6 libqt6dbus6 libxcb-screensaver0 libasound2 libsndfile1; do
  grep -qw -- "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
description=$(field Description)
summary=${description%%$'\n'*}
[[ "${summary,,}" != *lilywade* ]] || fail "the description's first line names the package: $summary"
pass "$(basename "$DEB"): control fields, dependencies from the binaries"

cat >"$WORK/expected" <<PATHS
/usr/bin/lilywade-idle
/usr/bin/lilywade-settings
/usr/libexec/lilywade/Lilywade.scr
/usr/libexec/lilywade/bud.wav
/usr/libexec/lilywade/lilywade-sound.so
/usr/libexec/lilywade/wizer.wav
/usr/share/applications/lilywade-settings.desktop
/usr/share/applications/lilywade.desktop
/usr/share/doc/lilywade/changelog.gz
/usr/share/doc/lilywade/copyright
/usr/share/icons/hicolor/128x128/apps/lilywade.png
/usr/share/icons/hicolor/32x32/apps/lilywade.png
/usr/share/man/man6/lilywade-idle.6.gz
/usr/share/man/man6/lilywade-settings.6.gz
/usr/share/man/man6/lilywade.6.gz
PATHS
if [ "$HACK" = --with-hack ]; then
  cat >>"$WORK/expected" <<PATHS
/usr/libexec/lilywade/lilywade
/usr/libexec/xscreensaver/lilywade
/usr/share/applications/screensavers/lilywade.desktop
/usr/share/xscreensaver/config/lilywade.xml
PATHS
fi
# Files and links, without folders: "-rw-r--r-- root/root 123 date time ./usr/...".
dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ {print substr($6, 2)}' | LC_ALL=C sort >"$WORK/packaged"
LC_ALL=C sort -o "$WORK/expected" "$WORK/expected"
diff -u "$WORK/expected" "$WORK/packaged" >&2 || fail "the package's files differ from the list above (- missing, + extra)"
pass "the package holds exactly the expected $(wc -l <"$WORK/expected") files"

# Its stderr only warns that it runs as root. The hardening tags are of
# severity info: -I shows them, --pedantic everything else.
lintian --pedantic -I --fail-on error "$DEB" >"$WORK/lintian.out" 2>"$WORK/lintian.err" \
  || { cat "$WORK/lintian.out" "$WORK/lintian.err" >&2; fail "lintian reports errors"; }
sed 's/^/  lintian: /' "$WORK/lintian.out"
pass "lintian reports no error"
# Every binary compiled and linked with Debian's hardening flags: no tag of
# a missing feature (bind-now, fortified functions, relro, PIE, ...).
hardening=$(grep -E '^[A-Z]: lilywade: hardening-' "$WORK/lintian.out" || true)
[ -z "$hardening" ] || fail "binaries built without hardening:"$'\n'"$hardening"
pass "lintian --pedantic -I shows no hardening tag"

dpkg-deb -x "$DEB" "$WORK/root"
entries=$(find "$WORK/root/usr/share/applications" -name '*.desktop' | sort)
for entry in $entries; do
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects ${entry#"$WORK/root"}"
done
pass "desktop-file-validate accepts $(echo "$entries" | sed "s|$WORK/root||" | tr '\n' ' ')"

# The small icon: 32 x 32, at most 16 colours, pure red and pure blue among
# its opaque pixels. The large one: 128 x 128 and as few colours, so scaled
# without blurring.
ICONS="$WORK/root/usr/share/icons/hicolor"
read -r width height small <<<"$(identify -format '%w %h %k' "$ICONS/32x32/apps/lilywade.png")"
[ "$width" -eq 32 ] && [ "$height" -eq 32 ] && [ "$small" -le 16 ] \
  || fail "32x32 icon is $width x $height with $small colours"
histogram=$(convert "$ICONS/32x32/apps/lilywade.png" -format %c histogram:info:-)
grep -qi '#FF0000FF' <<<"$histogram" && grep -qi '#0000FFFF' <<<"$histogram" \
  || fail "the icon shows no red or no blue: $histogram"
read -r width height colours <<<"$(identify -format '%w %h %k' "$ICONS/128x128/apps/lilywade.png")"
[ "$width" -eq 128 ] && [ "$height" -eq 128 ] && [ "$colours" -le 16 ] \
  || fail "128x128 icon is $width x $height with $colours colours"
pass "icons: 32 x 32 with $small colours, red and blue; 128 x 128 with $colours colours"
