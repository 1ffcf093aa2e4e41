#!/usr/bin/env bash
# The run's benchmarks of two builds on the same machine in the same session, the builds taking
# turns: "Do it!" against the engine alone (bench_launch), the report's cost per file
# (bench_operation_report) and the 1 GiB payload through kyv (kyv_payload_compare.sh).
#
#   bench/compare_builds.sh BEFORE_BUILD AFTER_BUILD [SCRATCH]     (SCRATCH default /var/tmp)
#
# Each build needs `cmake --build B --target kyv bench_launch bench_operation_report`. ROUNDS
# (default 3) is how many times each benchmark program runs per build; every output goes to
# SCRATCH/compare-builds.*/ and the figures of each round are printed as they come.
set -euo pipefail
[ $# -ge 2 ] || { sed -n 2,10p "$0"; exit 2; }
before=$(realpath "$1")
after=$(realpath "$2")
scratch="${3:-/var/tmp}"
rounds="${ROUNDS:-3}"
here=$(dirname "$(realpath "$0")")
for build in "$before" "$after"; do
    for program in kyv bench_launch bench_operation_report; do
        [ -x "$build/bin/$program" ] || { echo "missing $build/bin/$program"; exit 1; }
    done
done
out=$(mktemp -d "$scratch/compare-builds.XXXXXX")
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); scratch $scratch; results in $out"
export QT_QPA_PLATFORM=offscreen TMPDIR="$scratch"
for round in $(seq "$rounds"); do
    for side in before after; do
        build=$before
        [ $side = after ] && build=$after
        echo "== round $round, $side ($build), load $(cut -d' ' -f1 /proc/loadavg)"
        "$build/bin/bench_operation_report" all | tee "$out/report-$side-$round.txt"
        "$build/bin/bench_launch" "$scratch" | tee "$out/launch-$side-$round.txt"
    done
done
echo "== kyv payload, 1 GiB, both builds in one run"
WORK_DIR="$scratch" RUNS="${RUNS:-5}" "$here/kyv_payload_compare.sh" "$before/bin/kyv" "$after/bin/kyv" |
    tee "$out/payload.txt"
