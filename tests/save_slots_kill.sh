#!/usr/bin/env bash
# save_slots_kill.sh DRIVER: the game is killed outright (SIGKILL) again and again while it
# autosaves, quick-saves and saves into player slots in a loop. After every kill each record in
# the folder must still read whole: the one before the write or the one after, never a mix.
set -euo pipefail
driver=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  echo "setting autosave on"
  echo "dialog click 決定"
  echo "key 1"; echo "key y"; echo "key Return"
  for i in $(seq 2000); do
    echo "key 1"; echo "key n"; echo "key Return"
    echo "slot save $((i % 3 + 1))"
    echo "key F5"
  done
} >"$work/loop.txt"
mkdir "$work/game"
for round in $(seq 12); do
  "$driver" --dir "$work/game" --seed "$round" "$work/loop.txt" >/dev/null 2>&1 &
  pid=$!
  sleep "0.$((RANDOM % 6 + 2))"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  listing=$(echo slots | "$driver" --dir "$work/game" --seed 1)
  if grep -q '"damaged":true' <<<"$listing"; then
    echo "save_slots_kill: round $round left a damaged record:" >&2
    grep -o '{"file":"[^"]*","exists":true,"damaged":true' <<<"$listing" >&2
    exit 1
  fi
done
records=$(echo slots | "$driver" --dir "$work/game" --seed 1 | grep -o '"exists":true' | wc -l)
if [ "$records" -lt 4 ]; then
  echo "save_slots_kill: only $records records were ever written; the loop did not run" >&2
  exit 1
fi
# The next start clears what the killed copies left half-written.
if ls "$work/game" | grep -q '\.tmp$'; then
  echo "save_slots_kill: temporary files outlived the next start:" >&2
  ls "$work/game" >&2
  exit 1
fi
echo "save_slots_kill: 12 kills mid-loop, $records records, all whole"
