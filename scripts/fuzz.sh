#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for a bounded time.
# usage: scripts/fuzz.sh BUILD_DIR SECONDS [QT_MAJOR]
set -euo pipefail
build_dir=${1:-build-fuzz}
seconds=${2:-60}
qt_major=${3:-5}

cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DASPIRELLO_QT_MAJOR="$qt_major" -DBUILD_TESTING=ON -DASPIRELLO_FUZZ=ON >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target fuzz_pure_functions fuzz_seeds

corpus="$build_dir/fuzz-corpus"
mkdir -p "$corpus"
# Seeds: the example frame, the default settings, a log line's readings.
"$build_dir/tests/fuzz/fuzz_seeds" "$corpus"

echo "Fuzzing the frame decoder, settings command, log line and file name for ${seconds}s"
"$build_dir/tests/fuzz/fuzz_pure_functions" -max_total_time="$seconds" -max_len=128 \
  -print_final_stats=1 "$corpus" 2>&1 | tail -n 15
