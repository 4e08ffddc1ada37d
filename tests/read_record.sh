#!/usr/bin/env bash
# read_record.sh DRIVER: the file of the steps read, as a player's folder may hold it: missing,
# good, cut off, another program's file, huge, a folder, a pipe, a link nowhere, unwritable. In
# every case the game starts, reads the story, saves, and ends well; a file that could be
# replaced is a good one afterwards and holds what was read.
set -euo pipefail
driver=$(realpath "$1")
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
cat >"$work/play.txt" <<'SCRIPT'
setting skip_unread off
dialog click 決定
key 1
key y
key Return
answer Yes
menu セーブ
key 2
key y
key Return
key Return
key Return
reading
SCRIPT
good_head='vernadora-read 1'
fail() { echo "read_record: $1" >&2; exit 1; }
run() { # CASE: plays with the read file at $work/CASE/read.dat, as the player
  local dir=$work/$1
  (cd "$dir" && timeout 20 "${as_player[@]}" "$driver" --dir "$dir" --seed 1 --read read.dat \
    "$work/play.txt") >"$dir/out" 2>"$dir/err" || fail "$1: the game did not end well: $(cat "$dir/err")"
  grep -q 'セーブが無事終了しました' "$dir/out" || fail "$1: the save failed"
  grep -q '"read":[1-9]' "$dir/out" || fail "$1: nothing counts as read"
}
as_player=()
for case in missing good cut foreign huge folder pipe dangling; do
  mkdir -p "$work/$case"
  chmod 777 "$work/$case"
done
printf '%s\n1: 1-3 9\n' "$good_head" >"$work/good/read.dat"
printf '%s\n1: 1-3 9\n4: 1' "$good_head" >"$work/cut/read.dat"
head -c 3000 /dev/urandom >"$work/foreign/read.dat"
{ echo "$good_head"; (set +o pipefail; yes '1: 1-3' | head -c 1100000); } >"$work/huge/read.dat"
mkdir "$work/folder/read.dat"
mkfifo "$work/pipe/read.dat"
ln -s "$work/nowhere/read.dat" "$work/dangling/read.dat"
for case in missing good cut foreign huge folder pipe dangling; do run "$case"; done
# What could be replaced is a good file now, with what was read; the rest is as it was.
for case in missing good cut foreign huge; do
  [ "$(head -n 1 "$work/$case/read.dat")" = "$good_head" ] || fail "$case: not rewritten"
  grep -q '^1: 1-' "$work/$case/read.dat" || fail "$case: the steps read are not in it"
done
grep -q '^1: 1-.* 9$\|^1: 1-.* 9 ' "$work/good/read.dat" || fail "good: what was read before is lost"
[ -d "$work/folder/read.dat" ] && [ -p "$work/pipe/read.dat" ] && [ -L "$work/dangling/read.dat" ] ||
  fail "a folder, a pipe or a link was replaced"
# A second run reads what the first kept.
run good
grep -q '"stepRead":true' "$work/good/out" || fail "the second run does not know what was read"
# A folder the player cannot write (as root, the player is "nobody"): the game plays on.
if [ "$(id -u)" -eq 0 ]; then as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
mkdir -p "$work/locked"
cp "$work/good/read.dat" "$work/locked/read.dat"
chmod 755 "$work/locked"
chmod 644 "$work/locked/read.dat"
cp "$driver" "$work/driver"
driver=$work/driver
chmod -R a+rX "$work"
mkdir -p "$work/locked-save"
chmod 777 "$work/locked-save"
(cd "$work/locked" && timeout 20 "${as_player[@]}" "$driver" --dir "$work/locked-save" --seed 1 \
  --read read.dat "$work/play.txt") >"$work/locked.out" 2>&1 || fail "locked: the game did not end well"
grep -q 'セーブが無事終了しました' "$work/locked.out" || fail "locked: the save failed"
cmp -s "$work/good/read.dat" "$work/locked/read.dat" || fail "locked: the file changed"
echo "read_record: every kind of read file, the game plays and saves"
