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
[ -f "$prefix/share/doc/vernadora/README.md" ] || fail "no README"
if [ -d "$build/bin/audio" ]; then
  for f in music/title.ogg music/victory.ogg sfx/button.ogg; do
    [ -f "$prefix/share/vernadora/audio/$f" ] || fail "no audio/$f in share/vernadora"
  done
fi
desktop-file-validate "$prefix/share/applications/vernadora.desktop"

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

# The prefix read-only to the player; as root, the player is "nobody".
chmod -R a-w "$prefix"
home=$work/home
mkdir -p "$home"
chmod 777 "$home"
as_player=()
if [ "$(id -u)" -eq 0 ]; then as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
cp "$here/installed_game.txt" "$work/script.txt"
chmod 644 "$work/script.txt"
out=$(cd "$work" && env HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
  XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  "${as_player[@]}" "$prefix/bin/vernadora" --seed 1 --script "$work/script.txt" 2>/dev/null)
grep -q '"Picture3":{"Visible":true,"Picture":"場面/道"}' <<<"$out" || fail "the pictures were not found: $out"
grep -q 'セーブが無事終了しました' <<<"$out" || fail "the save failed: $out"
[ -f "$home/data/vernadora/save.dat" ] || fail "no save.dat in the user's data folder"
[ ! -e "$prefix/share/vernadora/save.dat" ] || fail "save.dat was written into the prefix"
echo "check_install: installed, found its pictures, saved to the user's data folder"
