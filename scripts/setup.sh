#!/usr/bin/env bash
# Installs the Debian packages that building, testing, the demo, the
# benchmarks and the fuzz targets need. Does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  libfreetype-dev libfontconfig-dev fontconfig
  fonts-dejavu-core fonts-liberation2
  libpng-dev libjpeg62-turbo-dev libpugixml-dev libre2-dev
  libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-utils
  xvfb xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    echo "setup: run 'apt-get install ${missing[*]}' as root, then try again." >&2
    exit 1
  fi
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
