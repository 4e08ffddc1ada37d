#!/usr/bin/env bash
# save_slots_read_only.sh DRIVER SETUP: the records in a folder the player may read but not
# write (as root, the player is "nobody"). Every save fails with a notice, the autosave too,
# the records already there stay byte for byte and still load.
set -euo pipefail
driver=$1
setup=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/game"
# The player may not reach the build folder (a checkout under /root): the driver comes along.
cp "$driver" "$work/driver"
cp "$setup/save.dat" "$work/game/save.dat"
cp "$setup/save.dat" "$work/game/slot01.dat"
cp "$setup/save.dat" "$work/game/quick.dat"
cp "$setup/save.dat" "$work/game/auto1.dat"
cat >"$work/play.txt" <<'SCRIPT'
setting autosave on
dialog click 決定
key 1
key y
key Return
answer Yes
slot save 1
slot save 2
key F5
answer Yes
slot delete 1
slots
answer Yes
slot load slot01.dat
get SceneNo
SCRIPT
chmod -R a+rX "$work"
chmod a-w "$work/game"
as_player=()
if [ "$(id -u)" -eq 0 ]; then as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
out=$("${as_player[@]}" "$work/driver" --dir "$work/game" --seed 3 "$work/play.txt")
fail() { echo "save_slots_read_only: $1" >&2; echo "$out" | grep -v '^{"GameMode' >&2; exit 1; }
grep -q '"text":"オートセーブできませんでした。（エラー' <<<"$out" || fail "the autosave did not say it failed"
[ "$(grep -c '"text":"セーブできませんでした。（エラー' <<<"$out")" -eq 2 ] ||
  fail "the slot saves did not say they failed"
grep -q '"text":"クイックセーブできませんでした。（エラー' <<<"$out" || fail "the quick save did not say it failed"
grep -q '"text":"スロット01を削除できませんでした。"' <<<"$out" || fail "the delete did not say it failed"
grep -q '"get":"SceneNo","index":null,"value":37' <<<"$out" || fail "slot01 no longer loads"
for f in save.dat slot01.dat quick.dat auto1.dat; do
  cmp -s "$setup/save.dat" "$work/game/$f" || fail "$f changed"
done
[ "$(ls "$work/game" | wc -l)" -eq 4 ] || fail "files were added: $(ls "$work/game")"
echo "save_slots_read_only: every save refused with a notice, every record intact"
