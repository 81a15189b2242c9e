#!/usr/bin/env bash
# ThreadSanitizer on the Vortan editor: host automation, audio and repainting
# on three threads, and the editor opened and closed while automation arrives.
set -euo pipefail
cd "$(dirname "$0")/../.."

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cmake -S . -B build-tsan-vortan-editor -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVALVE_SANITIZE=thread -DVALVE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan-vortan-editor --target vortan_editor_threads_test -j 2
build-tsan-vortan-editor/tests/vortan/editor/vortan_editor_threads_test
