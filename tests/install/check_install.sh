#!/usr/bin/env bash
# check_install.sh BUILD_DIR: installs the game into a fresh prefix the way a packager would, checks
# the files a desktop expects, then makes the prefix read-only and plays the installed program
# from it as a user who cannot write there: it must find its pictures from its own location and
# keep its save in that user's data folder.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "check_install: $*" >&2; exit 1; }
[ -x "$prefix/bin/vernadora" ] || fail "no bin/vernadora"
[ -f "$prefix/share/vernadora/CG/場面/道.bmp" ] || fail "no pictures in share/vernadora/CG"
[ -f "$prefix/share/icons/hicolor/scalable/apps/vernadora.svg" ] || fail "no scalable icon"
for size in 16 32 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/vernadora.png" ] || fail "no ${size}px icon"
done
for doc in README.md copyright changelog.gz; do
  [ -f "$prefix/share/doc/vernadora/$doc" ] || fail "no $doc"
done
if [ -d "$build/bin/audio" ]; then
  for f in music/title.ogg music/victory.ogg sfx/button.ogg; do
    [ -f "$prefix/share/vernadora/audio/$f" ] || fail "no audio/$f in share/vernadora"
  done
  [ -f "$prefix/lib/games/vernadora/libvernadora_audio.so" ] ||
    fail "no lib/games/vernadora/libvernadora_audio.so"
fi
[ -f "$prefix/share/man/man6/vernadora.6.gz" ] || fail "no manual page"
[ -f "$prefix/share/metainfo/jp.vernadora.vernadora.metainfo.xml" ] || fail "no AppStream entry"
desktop=$prefix/share/applications/jp.vernadora.vernadora.desktop
desktop-file-validate "$desktop"
grep -qx 'Exec=vernadora' "$desktop" || fail "the menu entry does not start vernadora from the PATH"

play() { # HOME SCRIPT [as...]: plays the installed game with that home; prints what happens
  local h=$1 script=$2
  shift 2
  (cd "$work" && env HOME="$h" XDG_DATA_HOME="$h/data" XDG_CONFIG_HOME="$h/config" \
    XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    "$@" "$prefix/bin/vernadora" --seed 1 --script "$script" 2>/dev/null)
}

# The kind of install decides where the save goes, not who may write the prefix: run by its
# owner (root, here) with the prefix writable, the installed game still saves to the data folder.
owner=$work/owner
mkdir -p "$owner"
out=$(play "$owner" "$here/installed_game.txt")
grep -q 'セーブが無事終了しました' <<<"$out" || fail "the owner's save failed: $out"
[ -f "$owner/data/vernadora/save.dat" ] || fail "the owner's save is not in the data folder"
[ ! -e "$prefix/share/vernadora/save.dat" ] || fail "the owner's save went into the prefix"
[ "$(stat -c %a "$owner/data/vernadora")" = 700 ] || fail "the data folder is open to others"
# A save an earlier version left in the prefix is still found while the data folder has none.
mv "$owner/data/vernadora/save.dat" "$prefix/share/vernadora/save.dat"
printf 'answer Yes\nmenu ロード\n' >"$work/load.txt"
out=$(play "$owner" "$work/load.txt")
grep -q 'ロードしました' <<<"$out" || fail "the save in the prefix was not found: $out"
rm "$prefix/share/vernadora/save.dat"

# The prefix read-only to the player, who plays the installed game from it.
. "$here/play_as_player.sh"
play_as_player "$prefix/bin/vernadora" "$prefix" "$work" || fail "as a player"
echo "check_install: installed, found its pictures, saved to the user's data folder"
