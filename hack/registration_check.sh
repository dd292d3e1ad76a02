#!/bin/bash
# Installs the hack's registration files into temporary prefixes, as a user
# and a package would, and checks them the way the hosts read them.
# $1: cmake, $2: the build folder, $3: 1 when lilywade itself is built.
set -euo pipefail

CMAKE=$1 BUILD=$2 WITH_PROGRAM=$3
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

install_hack() { "$CMAKE" --install "$BUILD" --component hack "$@" >"$TMP/install.log" \
  || { cat "$TMP/install.log" >&2; fail "install $*"; }; }

# desktop-file-validate's hints are advice on menus, which the hosts do not show.
check_desktop() {
  local file=$1 program=$2 exec=$3 out
  out=$(desktop-file-validate "$file" 2>&1) || fail "desktop-file-validate: $out"
  if grep -v ': hint: ' <<<"$out" | grep -q .; then fail "desktop-file-validate: $out"; fi
  grep -Fxq "Exec=$exec --root" "$file" || fail "Exec does not name $exec: $(grep ^Exec "$file")"
  grep -Fxq "TryExec=$program" "$file" || fail "TryExec does not name $program"
  grep -Fxq "Categories=Screensaver;" "$file" || fail "no Screensaver category"
  grep -Fxq "OnlyShowIn=MATE;XFCE;" "$file" || fail "not shown in MATE and XFCE"
}

xpath_count() { xmllint --xpath "count($2)" "$1"; }

check_xml() {
  local file=$1 option
  xmllint --noout "$file" || fail "$file is not well formed"
  [ "$(xpath_count "$file" '/screensaver[@name="lilywade"]/command[@arg="--root"]')" = 1 ] \
    || fail "no lilywade screensaver with --root"
  [ "$(xpath_count "$file" '/screensaver/command[@arg="--no-stored-settings"]')" = 1 ] \
    || fail "the dialog's command line does not say it holds every setting"
  [ "$(xpath_count "$file" '//number[@id="speed" and @type="slider" and @arg="--speed %"
        and @low="0" and @high="200" and @_low-label="Faster" and @_high-label="Slower"]')" = 1 ] \
    || fail "no speed slider from Faster (0) to Slower (200)"
  for option in sound hole streak blank; do
    [ "$(xpath_count "$file" "//boolean[@arg-set=\"--$option\" and @arg-unset=\"--no-$option\"]")" = 1 ] \
      || fail "no check box for --$option / --no-$option"
  done
  [ "$(xpath_count "$file" '//select[@id="scale"]/option[not(@arg-set)]')" = 1 ] \
    || fail "no automatic Frog size passing nothing"
  for option in 1 2 3 4; do
    [ "$(xpath_count "$file" "//select[@id=\"scale\"]/option[@arg-set=\"--scale $option\"]")" = 1 ] \
      || fail "no Frog size $option"
  done
}

# The link the hosts run: relative, so that it holds under DESTDIR, and, when
# the program is built, leading to it and taking every option the XML names.
check_link() {
  local root=$1 prefix=$2
  local link="$root$prefix/libexec/xscreensaver/lilywade"
  [ -L "$link" ] || fail "$link is not a symbolic link"
  [ "$(readlink "$link")" = ../lilywade/lilywade ] || fail "$link -> $(readlink "$link")"
  [ "$WITH_PROGRAM" = 1 ] || return 0
  [ "$(readlink -f "$link")" = "$(readlink -f "$root$prefix/libexec/lilywade/lilywade")" ] \
    && [ -x "$link" ] || fail "$link does not lead to the installed program"
  QT_QPA_PLATFORM=offscreen "$link" --root --no-stored-settings --speed 50 --sound --no-sound --hole --no-hole \
    --streak --no-streak --blank --no-blank --scale 4 --help >/dev/null || fail "$link refuses the XML's options"
}

# $1: the folder the files land in (DESTDIR, or empty), $2: the prefix they name.
check_install() {
  local root=$1 prefix=$2 program exec
  program="$prefix/libexec/xscreensaver/lilywade"
  exec=$program
  [[ $program == *" "* ]] && exec="\"$program\""
  check_desktop "$root$prefix/share/applications/screensavers/lilywade.desktop" "$program" "$exec"
  check_xml "$root$prefix/share/xscreensaver/config/lilywade.xml"
  check_link "$root" "$prefix"
}

install_hack --prefix "$TMP/one"
check_install "" "$TMP/one"

install_hack --prefix "$TMP/two with a blank"
check_install "" "$TMP/two with a blank"
# The second prefix did not leak into the first install's entry.
check_install "" "$TMP/one"

DESTDIR="$TMP/stage" install_hack --prefix /usr
check_install "$TMP/stage" /usr

echo "registration files: ok"
