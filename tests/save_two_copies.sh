#!/usr/bin/env bash
# save_two_copies.sh DRIVER: two copies of the game saving into one folder at the same time, a
# hundred times each. Every save must succeed (no unexpected-error message), no temporary file
# may be left, and the save that stands at the end must load.
set -euo pipefail
driver=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  echo "dialog click 決定"
  echo "key 1"; echo "key 1"; echo "key 1"
  for _ in $(seq 100); do echo "answer Yes"; echo "menu セーブ"; done
} >"$work/saves.txt"
"$driver" --dir "$work" --seed 1 "$work/saves.txt" >"$work/a.out" 2>&1 &
a=$!
"$driver" --dir "$work" --seed 2 "$work/saves.txt" >"$work/b.out" 2>&1 &
b=$!
wait $a
wait $b
for out in a b; do
  done_=$(grep -c 'セーブが無事終了しました' "$work/$out.out" || true)
  if [ "$done_" -ne 100 ] || grep -q '予想外のエラー' "$work/$out.out"; then
    echo "save_two_copies: copy $out saved $done_ times of 100:" >&2
    grep '予想外' "$work/$out.out" | head -3 >&2
    exit 1
  fi
done
if ls "$work" | grep -q '\.tmp$'; then echo "save_two_copies: a temporary file was left" >&2; exit 1; fi
printf 'answer Yes\nmenu ロード\n' | "$driver" --dir "$work" --seed 3 | grep -q 'ロードしました' ||
  { echo "save_two_copies: the last save does not load" >&2; exit 1; }
echo "save_two_copies: 200 saves by two copies, all whole"
