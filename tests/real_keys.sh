#!/usr/bin/env bash
# real_keys.sh BIN_DIR: the real window on an X server with no window manager, played with key
# presses as a US keyboard makes them:
#   - the zoom keys as the keyboard types them: Ctrl++ is Ctrl+Shift+= there;
#   - closing the settings window, the records or the name dialog gives the keys back to the
#     game's window, though with no window manager the X server hands them to no window at all:
#     the game's keys work at once, with no click;
#   - every window's title bar shows the game's own title exactly ("設定", not "設定 — …");
#   - on a desktop whose panel shows the programs' menus (a global menu, here a stand-in that
#     owns its name on the session bus), the menu bar stays in the game's window;
#   - F10 and the arrows reach ゲームの終了, and Y answers its question: the game ends.
set -euo pipefail
bin=$1
fail() { echo "real_keys: $*" >&2; exit 1; }
if [ -z "${REAL_KEYS_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x900x24" env REAL_KEYS_DISPLAY=1 \
    dbus-run-session -- bash "$0" "$@"
fi
work=$(mktemp -d)
pid=
menus=
# The game, told to end, writes its settings into the run's folder before it goes: the folder
# is removed once it has gone (or, after ten seconds, been made to).
cleanup() {
  if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
    becomes gone game_gone || kill -9 "$pid" 2>/dev/null || true
  fi
  [ -n "$menus" ] && kill "$menus" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Within ten seconds, the output of the command after $1 becomes $1; the last output is in $now.
now=
becomes() {
  local want=$1
  shift
  for _ in $(seq 100); do
    now=$("$@" 2>/dev/null || true)
    [ "$now" = "$want" ] && return 0
    sleep 0.1
  done
  return 1
}
game_gone() { kill -0 "$pid" 2>/dev/null || echo gone; }

# A global menu's stand-in: it owns the name under which such a desktop takes the programs'
# menus, before the game starts.
registrar=com.canonical.AppMenu.Registrar
/usr/bin/python3 -c "import dbus, time
dbus.SessionBus().request_name('$registrar')
time.sleep(600)" &
menus=$!
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$registrar" | sed -n 's/.*boolean //p'
}
becomes true owned || fail "the global menu's stand-in never owned $registrar"

# A program folder of the run's own (the pictures borrowed), so nothing is written into the build.
mkdir "$work/game"
ln -s "$(realpath "$bin")/CG" "$work/game/CG"
env XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR= \
  QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 \
  "$bin/vernadora" --dir "$work/game" --seed 7 --zoom 1 >/dev/null 2>&1 &
pid=$!
wid=
for _ in $(seq 300); do
  wid=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | tail -1 || true)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || fail "the game's window never showed"

focused_title() { xdotool getwindowfocus getwindowname; }
size() { xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p'; }
width() { xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }

# The title of the window with the keys is $1: the game's own, exactly.
keys_with() { becomes "$1" focused_title || fail "$2: the keys are with \"$now\", not \"$1\""; }
game=ヴェルナドーラ演義
# The menu bar (18 pixels at 1×) above the board, though a global menu is there to take it.
becomes 457x385 size || fail "the window is $now at 1×, not 457x385: the menu bar left it"
xdotool windowfocus --sync "$wid"
keys_with "$game" "the game's window at the start"

# The window is $1 wide after the zoom key $2.
width_after() {
  xdotool key "$2"
  becomes "$1" width || fail "$2: the window is $now wide, not $1"
}
width_after 571 ctrl+plus
width_after 686 ctrl+equal
width_after 571 ctrl+minus
width_after 457 ctrl+0
width_after 571 ctrl+KP_Add
width_after 457 ctrl+KP_Subtract
for opened in "F3 設定" "F2 記録"; do
  set -- $opened
  xdotool key "$1"
  keys_with "$2" "$1 on the game's window"
  xdotool key Escape
  keys_with "$game" "Esc on $2"
done
# スタート asks the hero's name; Esc closes the dialog; F3 then works on the game's window.
xdotool key Return
keys_with 主人公 "スタート"
xdotool key Escape
keys_with "$game" "Esc on the name dialog"
xdotool key F3
keys_with 設定 "F3 after the name dialog"
xdotool key Escape
keys_with "$game" "Esc on 設定 after the name dialog"
# The menus by the keys: F10, then ファイル's last entry, ゲームの終了; Y answers its question.
xdotool key F10 Right Up Return
keys_with ゲームの終了 "ファイル → ゲームの終了 by the keys"
xdotool key y
becomes gone game_gone || fail "Y on the question to end the game did not end it"
echo "real_keys: the menu bar stays in the window, the zoom keys zoom, the game's window has" \
  "the keys after every window closed, and the keys reach ゲームの終了 and answer it"
