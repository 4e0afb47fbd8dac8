#!/usr/bin/env bash
# lumetra-mpi over three local processes against lumetra-cli in one: a sweep, a
# network study, an emission run and batches (points or whole jobs shared) leave
# byte-identical files; a process that fails is reported with its frequency (or
# its job), the run exits non-zero, and the files hold only whole blocks of the
# points before it; a process that cannot start stops every process.
set -euo pipefail
cli=$1 mpi=$2 mpirun=$3 examples=$4
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
export OMPI_MCA_btl=self,vader  # one machine: shared memory only
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for side in serial shared; do
  mkdir -p "$work/$side"
  cp -r "$examples/dipole" "$examples/crosstalk" "$examples/short-dipole" "$examples/clock-trace" \
    "$work/$side/"
  printf '%s\n' 'dipole/dipole.PRO --sweep 1300 1500 40' \
    'short-dipole/short-dipole.PRO --sweep 200 400 50 --far-field --theta 0:90:30 --phi 0:90:45' \
    > "$work/$side/night.jobs"
  # As many jobs as processes: each process computes whole jobs.
  mkdir -p "$work/$side/whole"
  cp -r "$examples/dipole" "$examples/crosstalk" "$examples/clock-trace" "$work/$side/whole/"
  printf '%s\n' 'clock-trace/clock-trace.PRO --sweep 100 300 100' \
    'crosstalk/crosstalk.PRO --sweep 100 500 200 --far-field --theta 0:90:45 --phi 0:90:90' \
    'dipole/dipole.PRO --sweep 1300 1400 50' > "$work/$side/whole/three.jobs"
done
run() {  # side, command line
  local side=$1; shift
  if [ "$side" = serial ]; then "$cli" "$@"; else "$mpirun" --oversubscribe -np 3 "$mpi" "$@"; fi
}

for side in serial shared; do
  cd "$work/$side"
  run "$side" compute dipole/dipole.PRO --sweep 1300 1500 20 --far-field --theta 0:90:30 \
    --phi 0:90:45 > compute.out
  mkdir -p sweep && cp dipole/dipole.XXX dipole/dipole.YYY dipole/dipole.RAD sweep/
  run "$side" network crosstalk/crosstalk.PRO --sweep 100 1000 100 --touchstone x.s4p > network.out
  run "$side" emission clock-trace/clock-trace.PRO --clock 1:25:3.3:1 --stop 500 \
    --limit cispr32-b --csv lines.csv > emission.out 2>/dev/null || [ $? -eq 3 ]
  run "$side" batch night.jobs > batch.out
  run "$side" batch whole/three.jobs > whole.out
done
cd "$work"
for f in sweep/dipole.XXX sweep/dipole.YYY sweep/dipole.RAD x.s4p dipole/dipole.XXX \
  short-dipole/short-dipole.XXX short-dipole/short-dipole.RAD lines.csv emission.out; do
  cmp -s "serial/$f" "shared/$f" || fail "$f differs between one process and three"
done
[ "$(wc -l < serial/lines.csv)" -eq 11 ] || fail "the serial emission run wrote no lines"
diff -r -x '*.PRO' serial/whole shared/whole > /dev/null || fail "the whole jobs' files differ"
# What a batch prints, its fill and solve times left out.
untimed() { awk '{ if (NF >= 7 && $1 ~ /^[0-9.e+-]+$/) $2 = $3 = ""; print }' "$1"; }
[ "$(grep -c '^Done' serial/whole.out)" -eq 3 ] || fail "the serial batch of three ran no jobs"
[ "$(untimed serial/whole.out)" = "$(untimed shared/whole.out)" ] || fail "the whole jobs printed otherwise"
# The printed table without its fill and solve times.
table() { awk 'NR > 2 { $2 = $3 = ""; print }' "$1"; }
[ "$(table serial/compute.out | wc -l)" -eq 11 ] || fail "the serial sweep printed no table"
[ "$(table serial/compute.out)" = "$(table shared/compute.out)" ] || fail "the printed tables differ"

# Rank 2 cannot make its private directories: it fails before its first point (the
# third of the sweep, 1340 MHz). Rank 0 reports it and keeps the two points before.
cd "$work/shared"
status=0
"$mpirun" --oversubscribe -np 2 "$mpi" compute dipole/dipole.PRO --sweep 1300 1500 20 \
  : -np 1 -x TMPDIR=/nonexistent/lumetra "$mpi" compute dipole/dipole.PRO --sweep 1300 1500 20 \
  > failed.out 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "a failed process left exit status 0"
grep -q "Error: process 2 failed at 1340 MHz" failed.out || fail "no report of process 2: $(cat failed.out)"
size=$(stat -c %s dipole/dipole.XXX)
[ "$size" -lt "$(stat -c %s "$work/serial/sweep/dipole.XXX")" ] || fail "the failed sweep's file looks complete"
cmp -s -n "$size" dipole/dipole.XXX "$work/serial/sweep/dipole.XXX" ||
  fail "the failed sweep's file is not the first blocks of the serial one"
# Where each block of the serial file ends: a header "f N", then N lines.
ends=$(awk '{ bytes += length($0) + 1 }
  left == 0 { left = $2 + 0; if (left == 0) print bytes; next }
  { if (--left == 0) print bytes }' "$work/serial/sweep/dipole.XXX" | head -2 | tr '\n' ' ')
[[ " 0 $ends" == *" $size "* ]] || fail "the failed sweep's file ends inside a block ($size; $ends)"

# Rank 2 cannot copy the files of its job (the third): rank 0 names the job, leaves
# its result files empty, runs the others and exits non-zero.
status=0
"$mpirun" --oversubscribe -np 2 "$mpi" batch whole/three.jobs \
  : -np 1 -x TMPDIR=/nonexistent/lumetra "$mpi" batch whole/three.jobs > failed-job.out 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "a failed job's process left exit status 0"
grep -q "Error: process 2 failed at job dipole/dipole.PRO" failed-job.out ||
  fail "no report of process 2's job: $(cat failed-job.out)"
[ ! -s whole/dipole/dipole.XXX ] || fail "the failed job's result file looks complete"
cmp -s whole/crosstalk/crosstalk.XXX "$work/serial/whole/crosstalk/crosstalk.XXX" ||
  fail "the jobs before the failed one were not written"

# A project that opens on some processes only: every process learns it before the
# first point, rank 0 names the one that could not start, and nothing waits forever.
for missing in 2 0; do
  args() { if [ "$1" = "$missing" ]; then echo nowhere/dipole.PRO; else echo dipole/dipole.PRO; fi; }
  status=0
  timeout 120 "$mpirun" --oversubscribe -np 1 "$mpi" compute "$(args 0)" --sweep 1300 1500 20 \
    : -np 1 "$mpi" compute "$(args 1)" --sweep 1300 1500 20 \
    : -np 1 "$mpi" compute "$(args 2)" --sweep 1300 1500 20 > setup.out 2>&1 || status=$?
  [ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "missing on rank $missing: exit status $status"
  grep -q 'Cannot open file ".*nowhere/dipole.PRO"' setup.out || fail "no reason given: $(cat setup.out)"
  [ "$missing" = 0 ] || grep -q "Error: process 2 could not start the computation" setup.out ||
    fail "process 2 not named: $(cat setup.out)"
done

if [ "$failures" -eq 0 ]; then echo "lumetra-mpi: all checks passed"; exit 0; fi
exit 1
