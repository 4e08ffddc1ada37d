#!/bin/sh
# Builds the fuzz targets of the files the game reads from the player's folders with clang
# (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and runs them for a bounded time:
# the save file reader for half of it, the file of the steps read and the settings file for a
# quarter each. A finding fails the run and leaves the input that caused it in the build folder.
# usage: fuzz/run-fuzz.sh [SECONDS]   (default 60; build folder: $VERN_FUZZ_BUILD or build-fuzz)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${VERN_FUZZ_BUILD:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DVERN_FUZZ=ON -DVERN_TESTS=OFF \
    -DVERN_GUI=OFF -DVERN_BENCH=OFF >/dev/null
ninja -C "$build" -j2 save_record_fuzz read_file_fuzz settings_file_fuzz

# fuzz TARGET SECONDS: runs one target from its corpus (kept in the build folder between runs).
fuzz() {
    "$build/bin/$1" -max_total_time="$2" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$build/$1-" -print_final_stats=1 "$build/corpus-$1"
}

# The save file reader starts from real saves: the ones the scenario tests lay into the program
# folder.
mkdir -p "$build/corpus-save_record_fuzz" "$build/corpus-read_file_fuzz" \
    "$build/corpus-settings_file_fuzz"
for f in "$root"/tests/scenarios/*.setup/save.dat; do
    [ -f "$f" ] && cp "$f" "$build/corpus-save_record_fuzz/$(basename "$(dirname "$f")" .setup).dat"
done
# The others from a file of each kind as the game writes it.
printf 'vernadora-read 1\n1: 1-3 5 7-8\n12: 501\n39: 0\n' >"$build/corpus-read_file_fuzz/seed"
printf '[General]\nplace=AdnQywADAAAAAADw\nzoom=1.75\nmute=1\n' \
    >"$build/corpus-settings_file_fuzz/seed"

# (libFuzzer takes 0 seconds as no bound at all: every target gets at least one.)
half=$((seconds / 2))
quarter=$(((seconds - half) / 2))
[ "$half" -ge 1 ] || half=1
[ "$quarter" -ge 1 ] || quarter=1
fuzz save_record_fuzz "$half"
fuzz read_file_fuzz "$quarter"
fuzz settings_file_fuzz "$quarter"
