#!/bin/sh
# The SHA-256 of every result file that lumetra-cli writes for the example
# projects under a fixed set of runs (free space, ground plane, ground points,
# slab). The Standard accuracy must keep these byte for byte; the stored list is
# tests/cli/data/standard_example_hashes.txt, made with the program before the
# accuracy setting existed and made again when the cell integrals began to take the
# smooth part of the kernel from its power series (the currents then moved in their
# last printed digits, by at most 5e-13 of the largest current of a file):
#
#     tools/accuracy/example_result_hashes.sh build/bin/lumetra-cli examples > list
set -eu
cli=$1
examples=$2
extra=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$examples"/dipole "$examples"/lshape "$examples"/short-dipole "$examples"/clock-trace "$work"/
run() {
  name=$1
  shift
  "$cli" compute "$work/$name/$name.PRO" "$@" $extra > /dev/null 2>&1 || true
  for f in "$work/$name/$name".XXX "$work/$name/$name".YYY "$work/$name/$name".ZZX \
           "$work/$name/$name".ZZY "$work/$name/$name".RAD; do
    [ -f "$f" ] && printf '%s %s %s\n' "$(sha256sum < "$f" | cut -c1-64)" "$name" "$(basename "$f") $*"
  done
  rm -f "$work/$name/$name".XXX "$work/$name/$name".YYY "$work/$name/$name".ZZX \
        "$work/$name/$name".ZZY "$work/$name/$name".RAD
}
run dipole --sweep 1300 1500 20
run lshape --sweep 100 1000 100
run short-dipole --freq 300 --far-field --theta 0:90:15 --phi 0:90:30
run clock-trace --freq 100 --far-field --theta 0:90:30 --phi 0:90:45
run lshape --freq 500 --ground-plane 10 --far-field --theta 0:90:30 --phi 0:90:45
run dipole --freq 1400 --ground-plane 1.6 --diel 4.4
run dipole --freq 1400 --ground-plane 1.6 --diel 4.4 --points 300
