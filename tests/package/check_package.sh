#!/usr/bin/env bash
# check_package.sh BUILD_DIR: makes the game's Debian package from the build folder (cpack, into a
# temporary folder), holds it to Debian's rules (lintian: no error, no warning) and its menu and
# AppStream entries to theirs, when those tools are here; checks what it holds and how; then
# unpacks it into a root that it makes read-only and plays the game from /usr/games there as a
# user who cannot write it: the program must find its pictures from its own place and keep its
# save in that user's data folder.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
# cpack's install leaves a manifest of each component in the build folder: the ones this run
# made go with it, so that the build tree stays as it was.
manifests=()
for component in game games; do
  [ -e "$build/install_manifest_$component.txt" ] || manifests+=("$build/install_manifest_$component.txt")
done
trap 'chmod -R u+w "$work"; rm -rf "$work" "${manifests[@]}"' EXIT
chmod 755 "$work"
fail() { echo "check_package: $*" >&2; exit 1; }
has() { command -v "$1" >/dev/null; }
id=jp.vernadora.vernadora

# The package.
started=$SECONDS
if ! (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log" >&2
  fail "cpack failed"
fi
debs=("$work"/cpack/vernadora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one package: ${debs[*]}"
deb=${debs[0]}
version=$("$build/bin/vernadora" --version)
version=${version#vernadora }

# Its control fields: the game's version, a game, the libraries found by dpkg-shlibdeps and what
# the game needs besides them.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = vernadora ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version $(field Version), the program says $version"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
depends=$(field Depends)
for needed in libqt6widgets6 libstdc++6 libc6 qt6-qpa-plugins fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -q "\\b$needed\\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

# Every file root's, directories 755, files 644 but the program 755.
dpkg-deb --contents "$deb" | awk '
  $2 != "root/root" { print "owner " $2 ": " $6; bad = 1 }
  /^d/ && $1 != "drwxr-xr-x" { print "mode " $1 ": " $6; bad = 1 }
  /^-/ && $1 != "-rw-r--r--" && !($1 == "-rwxr-xr-x" && $6 == "./usr/games/vernadora") {
    print "mode " $1 ": " $6; bad = 1 }
  END { exit bad }' >&2 || fail "files with the wrong owner or mode"

# Debian's rules. Remarks the package answers with an override are listed, with the reason, in
# platform/desktop/lintian-overrides.
if has lintian; then
  status=0
  lintian --fail-on error,warning --display-info --pedantic "$deb" >"$work/lintian.log" 2>&1 ||
    status=$?
  grep -v '^running with root' "$work/lintian.log" >&2 || true
  [ $status -eq 0 ] || fail "lintian"
else
  echo "check_package: lintian is not installed; not run" >&2
fi

# What it holds, where the game's layout for Debian puts it.
root=$work/root
dpkg-deb --extract "$deb" "$root"
usr=$root/usr
[ -x "$usr/games/vernadora" ] || fail "no /usr/games/vernadora"
[ ! -e "$usr/bin" ] || fail "the package has a /usr/bin: $(ls "$usr/bin")"
sections=$(readelf --section-headers "$usr/games/vernadora")
! grep -qE '\.symtab|\.debug_|\.comment' <<<"$sections" || fail "the program is not stripped"
if has hardening-check; then
  # Control-flow protection is left out: no Debian 12 program has it (its crt1.o lacks the mark).
  hardening-check --nocfprotection "$usr/games/vernadora" >&2 || fail "the program is not hardened"
fi
[ -f "$usr/share/vernadora/CG/場面/道.bmp" ] || fail "no pictures in /usr/share/vernadora/CG"
[ -f "$usr/share/icons/hicolor/scalable/apps/vernadora.svg" ] || fail "no scalable icon"
[ -f "$usr/share/icons/hicolor/48x48/apps/vernadora.png" ] || fail "no 48px icon"
for doc in copyright README.md; do
  [ -f "$usr/share/doc/vernadora/$doc" ] || fail "no /usr/share/doc/vernadora/$doc"
done
# Compressed with gzip -9n: no name, no time (bytes 3 to 7 zero), the best compression (byte 8).
for gz in share/doc/vernadora/changelog.gz share/man/man6/vernadora.6.gz; do
  header=$(od -An -tx1 -N9 "$usr/$gz" | tr -d ' \n')
  [ "$header" = 1f8b08000000000002 ] || fail "$gz is not compressed with gzip -9n: $header"
done
# The changelog and the AppStream entry name the version the program says it is.
changelog=$(zcat "$usr/share/doc/vernadora/changelog.gz" | head -1)
[[ $changelog == "vernadora ($version) "* ]] || fail "the changelog starts with: $changelog"
metainfo=$usr/share/metainfo/$id.metainfo.xml
release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo") || fail "no release in $metainfo"
[ "$release" = "<release version=\"$version\"" ] || fail "the latest AppStream release: $release"
if has man; then
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$usr/share/man/man6/vernadora.6.gz" \
    >"$work/man.txt" 2>"$work/man.log" || fail "man: $(cat "$work/man.log")"
  [ ! -s "$work/man.log" ] || fail "the manual page: $(cat "$work/man.log")"
  grep -q -- '--script FILE' "$work/man.txt" || fail "the manual page reads: $(cat "$work/man.txt")"
fi

# The menu entry starts the program the package holds, and it and the AppStream entry pass their
# validators (AppStream's without the network: the entry names no URL).
desktop=$usr/share/applications/$id.desktop
exec_line=$(grep '^Exec=' "$desktop") || fail "no Exec in $desktop"
[ "$exec_line" = "Exec=/usr/games/vernadora" ] || fail "the menu entry's $exec_line"
if has desktop-file-validate; then desktop-file-validate "$desktop" || fail "desktop-file-validate"; fi
if has appstreamcli; then
  # The entry alone, then the unpacked tree: the entry with the menu entry it launches.
  for check in "validate --no-net --pedantic $metainfo" "validate-tree --no-net --pedantic $root"; do
    # shellcheck disable=SC2086 # the words of the check
    appstreamcli $check >"$work/appstream.log" 2>&1 ||
      { cat "$work/appstream.log" >&2; fail "appstreamcli $check"; }
    ! grep -E '^ *[EWIP]:' "$work/appstream.log" || fail "appstreamcli $check has remarks"
  done
fi
echo "check_package: $(basename "$deb") made and checked in $((SECONDS - started)) s"

# The unpacked package read-only to the player, who plays the game from it.
. "$here/../install/play_as_player.sh"
play_as_player "$usr/games/vernadora" "$root" "$work" || fail "as a player"
echo "check_package: played from the package: pictures found, saved to the user's data folder"
