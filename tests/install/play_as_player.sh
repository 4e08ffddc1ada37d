# Sourced by the install and package tests: plays an installed game as its player would.

# play_as_player PROGRAM TREE WORK: makes TREE (which holds PROGRAM and its data) read-only and
# plays PROGRAM from it as a user who cannot write there ("nobody" when run as root), with a home
# of that user's own under WORK (which that user must be able to enter). The game must find its
# pictures from its own place and keep its save in the user's data folder, never in TREE. Says
# what went wrong and returns 1 when anything did.
play_as_player() {
  local program=$1 tree=$2 work=$3
  local script
  script=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/installed_game.txt
  chmod -R a-w "$tree"
  local home=$work/home
  mkdir -p "$home"
  chmod 777 "$home"
  local as_player=()
  if [ "$(id -u)" -eq 0 ]; then as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
  cp "$script" "$work/script.txt"
  chmod 644 "$work/script.txt"
  local out
  if ! out=$(cd "$work" && env HOME="$home" XDG_DATA_HOME="$home/data" \
    XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=0 "${as_player[@]}" "$program" --seed 1 \
    --script "$work/script.txt" 2>"$work/stderr"); then
    echo "the game failed: $(cat "$work/stderr")" >&2
    return 1
  fi
  if ! grep -q '"Picture3":{"Visible":true,"Picture":"場面/道"}' <<<"$out"; then
    echo "the pictures were not found: $out" >&2
    return 1
  fi
  if ! grep -q 'セーブが無事終了しました' <<<"$out"; then
    echo "the save failed: $out" >&2
    return 1
  fi
  if [ ! -f "$home/data/vernadora/save.dat" ]; then
    echo "no save.dat in the user's data folder" >&2
    return 1
  fi
  if [ -n "$(find "$tree" -name save.dat)" ]; then
    echo "save.dat was written into $tree" >&2
    return 1
  fi
}
