#!/usr/bin/env bash
# Configures and builds Lumetra into build/ (programs in build/bin, the kernel
# library in build/lib). Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build -j"$(nproc)"
