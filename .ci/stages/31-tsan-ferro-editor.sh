#!/usr/bin/env bash
# ThreadSanitizer on the Ferro editor: host automation, audio blocks and the
# editor's repaint and mouse gestures on three threads at once.
set -euo pipefail
cd "$(dirname "$0")/../.."

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cmake -S . -B build-tsan-ferro-editor -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVALVE_SANITIZE=thread -DVALVE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan-ferro-editor --target ferro_editor_threads_test -j 2
build-tsan-ferro-editor/tests/ferro/editor/ferro_editor_threads_test
