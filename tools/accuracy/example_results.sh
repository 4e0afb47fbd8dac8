#!/bin/sh
# Every result file that lumetra-cli writes for the example projects under a fixed
# set of runs (free space, ground plane, ground points, slab), copied into OUT as
# RUN-NAME.EXT (RUN numbers the runs below). The Standard accuracy must keep them:
# tests/cli/data/standard_examples holds the files as the program wrote them before
# the accuracy setting existed, with the currents' last printed digits as they came
# once the cell integrals took the smooth part of the kernel from its power series.
# The test compares numbers, not bytes: OpenBLAS picks its kernels by processor, and
# its sums in another order move the 15th printed digit.
#
#     tools/accuracy/example_results.sh build/bin/lumetra-cli examples OUT [EXTRA OPTIONS]
set -eu
cli=$1
examples=$2
out=$3
extra=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cp -r "$examples"/dipole "$examples"/lshape "$examples"/short-dipole "$examples"/clock-trace "$work"/
number=0
run() {
  name=$1
  shift
  number=$((number + 1))
  "$cli" compute "$work/$name/$name.PRO" "$@" $extra > /dev/null 2>&1 || true
  for f in "$work/$name/$name".XXX "$work/$name/$name".YYY "$work/$name/$name".ZZX \
           "$work/$name/$name".ZZY "$work/$name/$name".RAD; do
    [ -f "$f" ] && cp "$f" "$out/$number-$(basename "$f")"
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
