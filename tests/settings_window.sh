#!/usr/bin/env bash
# settings_window.sh BIN_DIR: the real window and its settings file, as a hostile desktop would
# leave it. Each run starts the game at --zoom 1.5 on the offscreen platform and ends it with
# SIGTERM, as a logout does; it must end at once, cleanly, every time.
#   - a regular file, or a link to one (written through): the zoom is kept;
#   - a pipe, a folder, a link to a device, a dangling or looping link: never opened, written
#     or replaced (the run must not hang on the pipe);
#   - a stale lock folder of an earlier version beside it: no wait, the zoom is kept;
#   - no home folder at all: nothing written anywhere;
#   - killed outright a moment after a change: the change is already kept.
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "settings_window: $*" >&2; exit 1; }
# A program folder of the run's own (the pictures borrowed), so nothing is written into the build.
mkdir "$work/game"
ln -s "$(realpath "$bin")/CG" "$work/game/CG"

# run CONFIG_HOME [signal]: starts the game, waits a moment, sends the signal, waits for the end.
run() {
  local config=$1 signal=${2:-TERM}
  env -u HOME XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR= \
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    "$bin/vernadora" --dir "$work/game" --zoom 1.5 >/dev/null 2>&1 &
  local pid=$!
  sleep "${3:-1.5}"
  kill -s "$signal" $pid 2>/dev/null || true
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && { kill -9 $pid; fail "the game did not end on SIG$signal ($config)"; }
  wait $pid 2>/dev/null || true
}
zoom_of() { grep -s '^zoom=' "$1" | cut -d= -f2; }

c=$work/regular; run "$c"
[ "$(zoom_of "$c/vernadora/vernadora.conf")" = 1.5 ] || fail "a regular file did not keep the zoom"

c=$work/linked; mkdir -p "$c/vernadora" "$work/dotfiles"; : >"$work/dotfiles/v.conf"
ln -s "$work/dotfiles/v.conf" "$c/vernadora/vernadora.conf"; run "$c"
[ -L "$c/vernadora/vernadora.conf" ] || fail "the link was replaced"
[ "$(zoom_of "$work/dotfiles/v.conf")" = 1.5 ] || fail "a link to a file was not written through"

for kind in pipe folder device dangling loop; do
  c=$work/$kind; mkdir -p "$c/vernadora"; f=$c/vernadora/vernadora.conf
  case $kind in
    pipe) mkfifo "$f" ;;
    folder) mkdir "$f" ;;
    device) ln -s /dev/null "$f" ;;
    dangling) ln -s "$c/gone" "$f" ;;
    loop) ln -s "$c/vernadora/b" "$f"; ln -s "$f" "$c/vernadora/b" ;;
  esac
  before=$(stat -c %F "$f")
  run "$c"
  [ "$(stat -c %F "$f")" = "$before" ] || fail "the $kind was replaced"
  ls "$c/vernadora" | grep -q '\.tmp$' && fail "a temporary file was left beside the $kind"
done
[ -c /dev/null ] || fail "the device is no longer a device"

c=$work/locked; mkdir -p "$c/vernadora/vernadora.conf.lock"; run "$c"
[ "$(zoom_of "$c/vernadora/vernadora.conf")" = 1.5 ] || fail "a stale lock kept the zoom out"

before=$(ls -a / | tr '\n' ' ')
env -u HOME -u XDG_CONFIG_HOME XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR= "$bin/vernadora" --dir "$work/game" --zoom 1.5 >/dev/null 2>&1 &
pid=$!; sleep 1.5; kill -TERM $pid; wait $pid || true
[ "$(ls -a / | tr '\n' ' ')" = "$before" ] || fail "settings were written without a home folder"

c=$work/killed; run "$c" KILL 3
[ "$(zoom_of "$c/vernadora/vernadora.conf")" = 1.5 ] || fail "a change was not kept before a kill"
echo "settings_window: every settings file handled, every run ended"
