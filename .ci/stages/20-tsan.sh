#!/usr/bin/env bash
# ThreadSanitizer, one build for the threading tests:
# - both plug-ins under a sloppy host: automation, program and chunk loads,
#   chunk saves, names and displays on four threads while audio runs
#   (STRESS_SECONDS per plug-in, default 20);
# - Vortan: audio on one thread while another automates parameters, switches
#   programs and quality and loads chunks, and a third reads values;
# - Vortan editor: automation, audio and repaint on three threads, and
#   open/close while changes are reported;
# - Ferro editor: automation, audio and the editor's repaint and gestures, and
#   a host that hands the editor's notices to its own thread;
# - both editors and the bare X11 window losing their server while they
#   paint (private Xvfb servers the tests start and kill).
set -euo pipefail
cd "$(dirname "$0")/../.."

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVALVE_SANITIZE=thread -DVALVE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$(nproc)" \
  --target host_threads_stress_test vortan_threads_test vortan_editor_threads_test \
  ferro_editor_threads_test platform_window_test ferro_editor_xvfb_test vortan_editor_xvfb_test
VALVE_STRESS_SECONDS="${STRESS_SECONDS:-20}" build-tsan/tests/host/stress/host_threads_stress_test
build-tsan/tests/host/vortan_sound/vortan_threads_test
build-tsan/tests/vortan/editor/vortan_editor_threads_test
build-tsan/tests/ferro/editor/ferro_editor_threads_test
lost='*LosingTheServer*'
build-tsan/tests/platform/window/platform_window_test --gtest_filter="$lost"
build-tsan/tests/ferro/editor/ferro_editor_xvfb_test --gtest_filter="$lost"
build-tsan/tests/vortan/editor/vortan_editor_xvfb_test --gtest_filter="$lost"
