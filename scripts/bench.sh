#!/usr/bin/env bash
# Builds and runs every benchmark in bench/ (Release build in build/), printing
# Google Benchmark's tables. Extra arguments go to each benchmark program, e.g.
#   bash scripts/bench.sh --benchmark_filter=Zgesv
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
echo "== $(nproc) cores"
for program in build/bench/*_bench; do
  echo "== $(basename "$program")"
  "$program" "$@"
done
