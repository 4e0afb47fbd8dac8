#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the bundled L-shaped
# trace example headlessly on a copy in build/example-run, printing the results.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

run=build/example-run
rm -rf "$run"
mkdir -p "$run"
cp examples/lshape/* "$run/"
cli=build/bin/lumetra-cli
pro="$run/lshape.PRO"

echo "== Saving the project (derives the charge and current elements)"
"$cli" save "$pro"
printf '   %s charge elements, %s Jx and %s Jy current elements\n' \
  "$(wc -l < "$run/lshape.CHE")" "$(( $(wc -l < "$run/lshape.JXE") / 2 ))" \
  "$(( $(wc -l < "$run/lshape.JYE") / 2 ))"
echo "== Connecting touching segments"
"$cli" connect "$pro"
echo "== Project details"
"$cli" info "$pro"
