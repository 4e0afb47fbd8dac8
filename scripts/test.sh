#!/usr/bin/env bash
# Builds everything and runs every test: the full test suite, the headless core
# again under AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded run of
# each fuzz target. Prints ctest's summaries; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
fuzz_seconds="${LUMETRA_FUZZ_SECONDS:-60}"

bash scripts/install-deps.sh

echo "== Release build and tests"
bash scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

echo "== Core tests under ASan + UBSan"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")

echo "== Fuzzing the file readers for ${fuzz_seconds} s each"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMETRA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
# Seeds: the shared corpus of project files, plus a target's own directory of
# seeds where it has one.
declare -A own_corpus=([fuzz_result_readers]=tests/fuzz/corpus-results
  [fuzz_kicad_reader]=tests/fuzz/corpus-kicad
  [fuzz_emission_readers]=tests/fuzz/corpus-emission
  [fuzz_touchstone_reader]=tests/fuzz/corpus-touchstone)
for target in build-fuzz/fuzz/fuzz_*; do
  name="$(basename "$target")"
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  cp tests/fuzz/corpus/* "$corpus/"
  own="${own_corpus[$name]:-}"
  if [[ -n "$own" && -d "$own" ]]; then
    cp "$own"/* "$corpus/"
  fi
  log="build-fuzz/$name.log"
  if ! "$target" -max_total_time="$fuzz_seconds" -max_len=4096 -print_final_stats=1 \
      -artifact_prefix=build-fuzz/ "$corpus" > "$log" 2>&1; then
    tail -n 60 "$log"
    echo "$name found a failure; the input is in build-fuzz/" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$log" | sed "s/^/$name: /"
done
echo "== All tests passed"
