#!/usr/bin/env bash
# ThreadSanitizer on Vortan_v1_1: audio on one thread while another automates
# parameters, switches programs and quality and loads chunks.
set -euo pipefail
cd "$(dirname "$0")/../.."

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cmake -S . -B build-tsan-vortan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVALVE_SANITIZE=thread -DVALVE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan-vortan --target vortan_threads_test -j 2
build-tsan-vortan/tests/host/vortan_sound/vortan_threads_test
