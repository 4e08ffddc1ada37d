#!/usr/bin/env bash
# run_a11y.sh BIN_DIR: the accessibility check under a virtual screen, a session bus and the
# accessibility bus, when their tools are installed (tools/setup.sh installs them).
set -euo pipefail
bin=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ] || ! command -v dbus-run-session >/dev/null || ! command -v xvfb-run >/dev/null ||
  ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "run_a11y: no accessibility bus here (at-spi2-core, dbus, python3-pyatspi, xvfb)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A program folder of the run's own (the pictures and sounds borrowed): what the game writes
# there (records, the steps read) goes with the run, never into the build.
mkdir "$work/game"
ln -s "$bin/CG" "$work/game/CG"
[ -d "$bin/audio" ] && ln -s "$bin/audio" "$work/game/audio"
cat >"$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -u
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=\$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$bin/vernadora" --dir "$work/game" --seed 1 \
  >"$work/game.log" 2>&1 &
game=\$!
/usr/bin/python3 "$here/check_a11y.py"
status=\$?
kill \$game \$bus 2>/dev/null
wait \$game 2>/dev/null
exit \$status
SESSION
chmod +x "$work/session.sh"
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
HOME=$work/home XDG_RUNTIME_DIR=$work/run ASAN_OPTIONS=detect_leaks=0 PULSE_SERVER=unix:$work/none \
  timeout 120 xvfb-run -a dbus-run-session -- "$work/session.sh" 
