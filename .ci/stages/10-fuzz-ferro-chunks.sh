#!/usr/bin/env bash
# Fuzzes both plug-ins' chunk readers (programs and banks; FUZZ_SECONDS in
# all, default 60, split between them; each also checks that a refused chunk
# changes nothing) and the preset file reader, for a bounded time under ASan.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVALVE_BUILD_FUZZ=ON -DVALVE_SANITIZE=address -DVALVE_BUILD_TESTS=OFF \
  -DVALVE_BUILD_BENCH=OFF -DVALVE_BUILD_AMPRENDER=OFF >/dev/null
cmake --build build-fuzz --target ferro_chunk_fuzz vortan_chunk_fuzz preset_file_fuzz \
  -j "$(nproc)"
each=$(( ${FUZZ_SECONDS:-60} / 2 ))
# Ferro's banks carry names of any length; Vortan's bank is 2920 bytes and
# one more for the fuzzer's selector byte.
for target in ferro:4096 vortan:3000; do
  name=${target%%:*}
  mkdir -p "build-fuzz/corpus-$name"
  echo "== ${name}_chunk_fuzz, ${each} s"
  ASAN_OPTIONS=detect_leaks=0 "build-fuzz/fuzz/${name}_chunk_fuzz" -max_total_time="$each" \
    -max_len="${target##*:}" -use_value_profile=1 -print_final_stats=1 "build-fuzz/corpus-$name"
done
mkdir -p build-fuzz/preset-corpus
# The factory presets seed the preset corpus.
for f in presets/*/*.fx[pb]; do
  cp "$f" "build-fuzz/preset-corpus/$(basename "$(dirname "$f")")-$(basename "$f")"
done
ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/preset_file_fuzz \
  -max_total_time="${PRESET_FUZZ_SECONDS:-20}" -max_len=8192 -print_final_stats=1 \
  build-fuzz/preset-corpus
