#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, only
# those that are missing. Uses sudo only when not running as root.
#   scripts/install-deps.sh           build, tests and demo
#   scripts/install-deps.sh --tools   also what the artwork and curve generators need
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev libfreetype-dev fonts-liberation2
  libx11-dev libxext-dev libxtst-dev xvfb xdotool x11-utils
  libsndfile1-dev shellcheck
)
if [[ "${1:-}" == "--tools" ]]; then
  packages+=(python3 python3-cairo python3-numpy python3-scipy python3-sympy)
fi
# Further packages a subsystem needs are listed one per line in
# scripts/packages.d/*.txt (comments with #).
shopt -s nullglob
for list in "$(dirname "$0")"/packages.d/*.txt; do
  while read -r line; do
    line="${line%%#*}"
    for p in $line; do packages+=("$p"); done
  done <"$list"
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
