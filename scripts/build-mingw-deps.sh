#!/usr/bin/env bash
# Builds the third-party libraries the Windows plug-ins and their tests link
# and Debian does not ship for mingw-w64 (libpng, FreeType, GoogleTest) from
# Debian's own sources, as static archives, once per target:
#   scripts/build-mingw-deps.sh [--from-scratch] [i686-w64-mingw32] [x86_64-w64-mingw32]
# --from-scratch first removes build-deps/ and the deb-src entry this script
# adds, so the run takes the path of a brand-new machine.
# libpng and FreeType come through apt-get source (a deb-src entry is added
# when the machine has none), GoogleTest from libgtest-dev; everything lands
# in build-deps/ (git-ignored): nothing third-party is committed. A library
# whose archive exists already is skipped. Every message goes to standard
# error: the functions whose output is captured print only their result.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$root/build-deps"
from_scratch=0
if [[ "${1:-}" == "--from-scratch" ]]; then
  from_scratch=1
  shift
fi
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(i686-w64-mingw32 x86_64-w64-mingw32); fi
jobs="${JOBS:-2}"

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi

own_deb_src=(/etc/apt/sources.list.d/valve-deb-src.sources /etc/apt/sources.list.d/valve-deb-src.list)
if ((from_scratch)); then
  echo "from scratch: removing $deps and ${own_deb_src[*]}" >&2
  rm -rf "$deps"
  "${sudo_cmd[@]}" rm -f "${own_deb_src[@]}"
fi

# apt-get source needs a deb-src line for the release the machine runs.
have_deb_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
ensure_deb_src() {
  have_deb_src && return 0
  echo "adding a deb-src entry for the configured Debian archives" >&2
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee "${own_deb_src[0]}" >/dev/null
  elif [[ -f /etc/apt/sources.list ]]; then
    sed -n -e 's/^deb /deb-src /p' /etc/apt/sources.list |
      "${sudo_cmd[@]}" tee "${own_deb_src[1]}" >/dev/null
  else
    echo "no apt sources found to derive a deb-src entry from" >&2
    return 1
  fi
  "${sudo_cmd[@]}" apt-get update -qq >&2
}

# fetch <source package> <unpacked dir glob>: unpacks once into build-deps/src.
fetch() {
  local pkg="$1" pattern="$2"
  mkdir -p "$deps/src"
  local dir
  dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pattern" | head -n1)
  if [[ -z "$dir" ]]; then
    ensure_deb_src
    # Newest first; a mirror may lack one release's sources (e.g. security
    # updates), so older versions of the same release are tried in turn.
    local versions version
    versions=$(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | sort -u -r -V)
    if [[ -z "$versions" ]]; then
      "${sudo_cmd[@]}" apt-get update -qq >&2
      versions=$(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | sort -u -r -V)
    fi
    for version in $versions; do
      if (cd "$deps/src" && apt-get source -qq "$pkg=$version" >/dev/null 2>&1); then break; fi
      echo "source of $pkg $version not available, trying the next version" >&2
    done
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pattern" | head -n1)
  fi
  [[ -n "$dir" && -f "$dir/CMakeLists.txt" ]] ||
    { echo "source of $pkg not found after apt-get source" >&2; return 1; }
  echo "$dir"
}

png_src=$(fetch libpng1.6 'libpng1.6-*')
ft_src=$(fetch freetype 'freetype-*')
for src in "$png_src" "$ft_src"; do
  [[ -d "$src" ]] || { echo "not a source folder: '$src'" >&2; exit 1; }
done
gtest_src=/usr/src/googletest
[[ -f "$gtest_src/CMakeLists.txt" ]] || { echo "no $gtest_src: install libgtest-dev" >&2; exit 1; }

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi

for triplet in "${targets[@]}"; do
  toolchain="$root/cmake/toolchains/$triplet.cmake"
  [[ -f "$toolchain" ]] || { echo "no toolchain file for $triplet" >&2; exit 1; }
  prefix="$deps/$triplet"
  common=("${generator[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$prefix" -DVALVE_MINGW_DEPS_PREFIX="$prefix"
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON)

  if [[ ! -f "$prefix/lib/libpng16.a" && ! -f "$prefix/lib/libpng.a" ]]; then
    echo "== libpng for $triplet" >&2
    cmake -S "$png_src" -B "$deps/work/$triplet/libpng" "${common[@]}" \
      -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
      -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
      -DZLIB_ROOT="/usr/$triplet" >/dev/null
    cmake --build "$deps/work/$triplet/libpng" -j "$jobs" >/dev/null
    cmake --install "$deps/work/$triplet/libpng" >/dev/null
  fi

  # FreeType inflates compressed fonts with the target's zlib (its own copy
  # would clash with it in one module).
  if [[ ! -f "$prefix/lib/libfreetype.a" ]]; then
    echo "== FreeType for $triplet" >&2
    cmake -S "$ft_src" -B "$deps/work/$triplet/freetype" "${common[@]}" \
      -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON -DZLIB_USE_STATIC_LIBS=ON -DFT_DISABLE_BZIP2=ON \
      -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >/dev/null
    cmake --build "$deps/work/$triplet/freetype" -j "$jobs" >/dev/null
    cmake --install "$deps/work/$triplet/freetype" >/dev/null
  fi
  # GoogleTest for the Windows test programs, from the sources Debian's
  # libgtest-dev ships.
  if [[ ! -f "$prefix/lib/libgtest.a" ]]; then
    echo "== GoogleTest for $triplet" >&2
    cmake -S "$gtest_src" -B "$deps/work/$triplet/googletest" "${common[@]}" \
      -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON >/dev/null
    cmake --build "$deps/work/$triplet/googletest" -j "$jobs" >/dev/null
    cmake --install "$deps/work/$triplet/googletest" >/dev/null
  fi
  archives=("$prefix"/lib/*.a)
  echo "$triplet: ${archives[*]##*/}" >&2
done
