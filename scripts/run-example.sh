#!/usr/bin/env bash
# The main job: installs what is missing, builds, and computes the bundled
# half-wave dipole example headlessly on a copy in build/example-run, printing the
# port impedance over a sweep and the far field.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

run=build/example-run
rm -rf "$run"
mkdir -p "$run"
cp examples/dipole/dipole.* "$run/"
cli=build/bin/lumetra-cli
pro="$run/dipole.PRO"

echo "== Half-wave strip dipole (examples/dipole): the project"
"$cli" info "$pro"
echo
echo "== Port impedance over 1300-1500 MHz (resonance where the reactance crosses zero)"
"$cli" compute "$pro" --sweep 1300 1500 20
echo
echo "== Far field at 1420 MHz, theta 0..90 in the x-z plane (written to $run/dipole.RAD)"
"$cli" compute "$pro" --freq 1420 --far-field --theta 0:90:15 --phi 0:0:1
awk 'NR > 1 { printf "   theta %6.1f  |E_theta| %s V  |E_phi| %s V\n", $1, $3, $4 }' "$run/dipole.RAD"
