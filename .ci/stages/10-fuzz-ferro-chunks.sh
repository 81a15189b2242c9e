#!/usr/bin/env bash
# Fuzzes the Ostra Ferro B3 chunk reader for a bounded time under ASan.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVALVE_BUILD_FUZZ=ON -DVALVE_SANITIZE=address -DVALVE_BUILD_TESTS=OFF \
  -DVALVE_BUILD_BENCH=OFF -DVALVE_BUILD_AMPRENDER=OFF >/dev/null
cmake --build build-fuzz --target ferro_chunk_fuzz -j "$(nproc)"
mkdir -p build-fuzz/corpus
ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/ferro_chunk_fuzz -max_total_time="${FUZZ_SECONDS:-60}" \
  -max_len=4096 -use_value_profile=1 -print_final_stats=1 build-fuzz/corpus
