#!/usr/bin/env bash
# Installs the Debian packages Quillon needs that are not installed yet.
# Usage: scripts/deps.sh run|test
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libjpeg-dev libpng-dev
            zlib1g-dev libtiff-dev libgif-dev libsane-dev libtomlplusplus-dev libwebp-dev
            libheif-dev libexiv2-dev libstb-dev libzstd-dev)
test_pkgs=(googletest libgtest-dev libbenchmark-dev libjpeg-turbo-progs sane-utils libsane1
           poppler-utils xauth xvfb clang libclang-rt-14-dev libheif-examples webp exiftool
           imagemagick graphicsmagick libvips-tools)

want=("${build_pkgs[@]}")
if [ "${1:-run}" = test ]; then want+=("${test_pkgs[@]}"); fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
