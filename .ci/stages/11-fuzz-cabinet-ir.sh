#!/usr/bin/env bash
# Fuzzes the cabinet's IR reader (sound files from memory) for a bounded time
# under ASan, starting from the built-in cabinets.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVALVE_BUILD_FUZZ=ON -DVALVE_SANITIZE=address -DVALVE_BUILD_TESTS=OFF \
  -DVALVE_BUILD_BENCH=OFF -DVALVE_BUILD_AMPRENDER=OFF >/dev/null
cmake --build build-fuzz --target cabinet_ir_fuzz -j "$(nproc)"
mkdir -p build-fuzz/cabinet-corpus
cp resources/cabinets/*.wav build-fuzz/cabinet-corpus/
ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/cabinet_ir_fuzz -max_total_time="${FUZZ_SECONDS:-45}" \
  -max_len=20000 -print_final_stats=1 build-fuzz/cabinet-corpus
