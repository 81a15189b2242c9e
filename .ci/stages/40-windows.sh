#!/usr/bin/env bash
# Windows: both plug-ins cross-built with mingw-w64 for 32-bit and 64-bit
# Windows (libpng and FreeType built from Debian's sources first), their
# export and import tables checked, and the Windows host test run under Wine
# against the answers of the Linux build. The 32-bit run needs wine32:i386;
# where the machine cannot get it, that run is skipped with the reason.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
export JOBS="${JOBS:-2}"

scripts/install-deps.sh

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
wine32_reason=""
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
    "${sudo_cmd[@]}" apt-get update -qq || true
  fi
  if ! DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
      --no-install-recommends wine32:i386 >/tmp/valve-wine32-install.log 2>&1; then
    wine32_reason="wine32:i386 could not be installed: $(tail -n 1 /tmp/valve-wine32-install.log)"
  fi
fi

# Installed is not runnable: a kernel without IA-32 support cannot start
# Wine's 32-bit loader ("Exec format error").
if [[ -z "$wine32_reason" ]] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wine32_reason="this machine cannot run 32-bit x86 programs (its kernel has no IA-32 support)"
fi

scripts/build-mingw-deps.sh i686-w64-mingw32 x86_64-w64-mingw32

# The Linux modules' answers, the reference for the Windows ones (from the
# tree `make test` built before this stage; configured here when missing).
native="${BUILD:-build}"
if [[ ! -f "$native/CMakeCache.txt" ]]; then
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$native" -j "$JOBS" --target Ostra_Ferro_B3 Vortan_v1_1 windows_render_reference
reference="$root/$native/windows-reference"
mkdir -p "$reference"
"$native/tests/windows/windows_render_reference" "$native/plugins/Ostra_Ferro_B3.so" \
  "$reference/ferro.reference"
"$native/tests/windows/windows_render_reference" "$native/plugins/Vortan_v1_1.so" \
  "$reference/vortan.reference"

# A private Wine prefix, so no user's settings or leftovers take part.
export WINEPREFIX="$root/build-windows-wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

for triplet in x86_64-w64-mingw32 i686-w64-mingw32; do
  bits=64
  [[ $triplet == i686-* ]] && bits=32
  dir="build-win$bits"
  echo "== Windows $bits-bit"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$triplet.cmake" \
    -DVALVE_BUILD_BENCH=OFF -DVALVE_BUILD_AMPRENDER=OFF \
    -DVALVE_LINUX_REFERENCE_DIR="$reference" >/dev/null
  cmake --build "$dir" -j "$JOBS" --target Ostra_Ferro_B3 Vortan_v1_1 windows_host_test \
    windows_editor_test
  (cd "$dir" && ctest --output-on-failure -R '^windows_module_tables_')
  if [[ $bits == 32 && -n "$wine32_reason" ]]; then
    echo "SKIPPED: the 32-bit DLLs were built and checked but not run: $wine32_reason"
    continue
  fi
  # The loader of this bitness (see cmake/toolchains/mingw-common.cmake).
  loader=wine
  [[ $bits == 64 ]] && loader=/usr/lib/wine/wine64
  if [[ ! -d "$WINEPREFIX" ]]; then "$loader" wineboot --init >/dev/null 2>&1 || true; fi
  log="$root/$dir/windows_host_test.log"
  if ! (cd "$dir" && ctest --output-on-failure -V -R '^windows_host_test$' >"$log" 2>&1); then
    cat "$log"
    echo "windows_host_test failed ($bits-bit)"
    exit 1
  fi
  grep -E 'largest difference|Skipped|PASSED|tests passed' "$log" || true
  wineserver -w || true  # the next run starts its own, on the X server below
  # The editors need an X server for Wine: a private Xvfb for this run only.
  log="$root/$dir/windows_editor_test.log"
  if ! (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" \
      ctest --output-on-failure -R '^windows_editor_test$' >"$log" 2>&1); then
    cat "$log"
    echo "windows_editor_test failed ($bits-bit)"
    exit 1
  fi
  wineserver -w || true
  shots=("$root/$dir"/tests/windows/windows_editor_*.bmp)
  echo "editor screenshots: ${shots[*]}"
done
