#!/usr/bin/env bash
# play_audio.sh BIN_DIR: the window's sound, as a player hears it. With no sound server the game
# starts, plays and ends without a word about sound. With a PulseAudio server whose only output
# is a null sink (when pulseaudio and parec are installed), the title's music is heard from the
# first screen, and a muted game stays silent without loading its players.
set -euo pipefail
bin=$(realpath "$1")
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "play_audio: $*" >&2; exit 1; }
export HOME=$work/home XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# A program folder of the run's own (the pictures and sounds borrowed), so nothing is written
# into the build.
mkdir "$work/game"
ln -s "$bin/CG" "$work/game/CG"
ln -s "$bin/audio" "$work/game/audio"

# No sound server at all: nothing said, and SIGTERM ends the game cleanly.
PULSE_SERVER=unix:$work/none "$bin/vernadora" --dir "$work/game" --seed 1 >"$work/out" 2>"$work/err" &
game=$!
sleep 3
kill -TERM "$game"
wait "$game" || fail "the game did not end cleanly without a sound server"
! grep -qi 'pulse\|audio\|sound\|gst\|media' "$work/err" ||
  fail "the game spoke of sound without a server: $(head -3 "$work/err")"

if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null; then
  echo "play_audio: silent without a server; no PulseAudio here to listen with"
  exit 0
fi
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm \
  --load="module-null-sink sink_name=listen" \
  --load="module-native-protocol-unix socket=$XDG_RUNTIME_DIR/native auth-anonymous=1" \
  >"$work/pulse.log" 2>&1 &
server=$!
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "the PulseAudio server did not start: $(tail -3 "$work/pulse.log")"
pactl set-default-sink listen

peak() { # SECONDS: the loudest sample the null sink plays meanwhile
  timeout "$1" parec -d listen.monitor --raw --format=s16le --channels=1 --rate=22050 \
    >"$work/cap.raw" 2>/dev/null || true
  python3 -c "import array,sys; a=array.array('h'); a.frombytes(open(sys.argv[1],'rb').read()); print(max((abs(x) for x in a), default=0))" "$work/cap.raw"
}
"$bin/vernadora" --dir "$work/game" --seed 1 >"$work/out" 2>"$work/err" &
game=$!
sleep 3
loud=$(peak 2)
[ "$loud" -gt 300 ] || fail "no music from the first screen (peak $loud)"
kill -TERM "$game"
wait "$game" || fail "the game did not end cleanly with sound"
! grep -qi 'pulse\|audio\|sound\|gst\|media' "$work/err" ||
  fail "the game spoke of sound: $(head -3 "$work/err")"
# Muted (the setting M switches, remembered): silence.
printf '[General]\nmute=1\n' >"$HOME/.config/vernadora/vernadora.conf" 2>/dev/null ||
  { mkdir -p "$HOME/.config/vernadora"; printf '[General]\nmute=1\n' >"$HOME/.config/vernadora/vernadora.conf"; }
"$bin/vernadora" --dir "$work/game" --seed 1 >"$work/out" 2>"$work/err" &
game=$!
sleep 3
quiet=$(peak 1)
# Muted, the game does not even load its players (nor pay for their libraries).
loaded=no
grep -q vernadora_audio "/proc/$game/maps" && loaded=yes
kill -TERM "$game"
wait "$game" || true
[ "$quiet" -lt 50 ] || fail "muted, and still heard (peak $quiet)"
[ "$loaded" = no ] || fail "muted, and the sound's module was loaded all the same"
echo "play_audio: silent without a server; the title's music heard (peak $loud), silent muted" \
  "without the sound's module"
