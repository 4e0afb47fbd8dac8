#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing, fuzzing and benchmarking
# Lumetra needs. Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev                # libFuzzer and the sanitizer runtimes
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev
  libopenblas-dev liblapack-dev liblapacke-dev
  nlohmann-json3-dev                      # project settings files
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth poppler-utils                # GUI tests, screenshots, PDF checks
  nec2c                                   # wire-antenna reference for the physics tests
  kicad-demos                             # real board files for the board-import tests
  libopenmpi-dev openmpi-bin              # lumetra-mpi: sweeps spread over machines
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
