#!/bin/sh
# Builds the save file reader's fuzz target with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time; a finding fails the run and
# leaves the input that caused it in the build folder.
# usage: fuzz/run-fuzz.sh [SECONDS]   (default 60; build folder: $VERN_FUZZ_BUILD or build-fuzz)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${VERN_FUZZ_BUILD:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DVERN_FUZZ=ON -DVERN_TESTS=OFF \
    -DVERN_GUI=OFF -DVERN_BENCH=OFF >/dev/null
ninja -C "$build" -j2 save_record_fuzz

# Start from real saves: the ones the scenario tests lay into the program folder.
corpus=$build/fuzz-corpus
mkdir -p "$corpus"
for f in "$root"/tests/scenarios/*.setup/save.dat; do
    [ -f "$f" ] && cp "$f" "$corpus/$(basename "$(dirname "$f")" .setup).dat"
done

exec "$build/bin/save_record_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$build/" -print_final_stats=1 "$corpus"
