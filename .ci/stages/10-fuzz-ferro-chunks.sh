#!/usr/bin/env bash
# Fuzzes the Ostra Ferro B3 chunk reader and the preset file reader for a
# bounded time each under ASan.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVALVE_BUILD_FUZZ=ON -DVALVE_SANITIZE=address -DVALVE_BUILD_TESTS=OFF \
  -DVALVE_BUILD_BENCH=OFF -DVALVE_BUILD_AMPRENDER=OFF >/dev/null
cmake --build build-fuzz --target ferro_chunk_fuzz preset_file_fuzz -j "$(nproc)"
mkdir -p build-fuzz/corpus build-fuzz/preset-corpus
ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/ferro_chunk_fuzz -max_total_time="${FUZZ_SECONDS:-60}" \
  -max_len=4096 -use_value_profile=1 -print_final_stats=1 build-fuzz/corpus
# The factory presets seed the preset corpus.
for f in presets/*/*.fx[pb]; do
  cp "$f" "build-fuzz/preset-corpus/$(basename "$(dirname "$f")")-$(basename "$f")"
done
ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/preset_file_fuzz \
  -max_total_time="${PRESET_FUZZ_SECONDS:-20}" -max_len=8192 -print_final_stats=1 \
  build-fuzz/preset-corpus
