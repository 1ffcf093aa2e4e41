#!/bin/sh
# The file library beside the usual tools, on the same warm files in the same run:
#   randomness measure vs ent, comparison vs cmp, purge vs shred -n1 -u.
# Usage: bench/filelib_compare.sh [build/bin folder] [work folder] [MiB] [purge MiB]
# Needs ent (apt-get install ent), cmp and shred (coreutils, diffutils).
set -eu
bin=${1:-build/bin}
work=${2:-/tmp/kyv-filelib-bench}
mebibytes=${3:-512}
purgeMebibytes=${4:-128}
bench="$bin/bench_filelib"

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l | awk '{printf "%.3f", $1}'; }
rate() { echo "$1 * 1048576 / $2 / 1000000" | bc -l | awk '{printf "%.0f", $1}'; }

mkdir -p "$work"
first="$work/first.bin"
second="$work/second.bin"
head -c "${mebibytes}M" /dev/urandom > "$first"
cp "$first" "$second"
cat "$first" "$second" > /dev/null   # warm both in the page cache

echo "== randomness of a warm $mebibytes MiB random file"
best=""
for run in 1 2 3; do
    set -- $("$bench" measure "$first")
    echo "bench_filelib measure: $1 in $2 s"
    if [ -z "$best" ] || [ "$(echo "$2 < $best" | bc -l)" = 1 ]; then best=$2; fi
done
start=$(now); ent "$first" > "$work/ent.txt"; end=$(now)
entSeconds=$(elapsed "$start" "$end")
echo "ent: $(grep -i 'entropy =' "$work/ent.txt" | head -1 | sed 's/^ *//') in $entSeconds s"
echo "measure: best $best s = $(rate "$mebibytes" "$best") MB/s; ent $(rate "$mebibytes" "$entSeconds") MB/s;" \
     "ratio $(echo "$entSeconds / $best" | bc -l | awk '{printf "%.1f", $1}')x"

echo "== comparison of two identical warm $mebibytes MiB files"
set -- $("$bench" compare "$first" "$second")
echo "bench_filelib compare: $1 in $2 s"
mine=$2
start=$(now); cmp "$first" "$second"; end=$(now)
cmpSeconds=$(elapsed "$start" "$end")
echo "cmp: identical in $cmpSeconds s"
echo "compare: ratio cmp/ours $(echo "$cmpSeconds / $mine" | bc -l | awk '{printf "%.2f", $1}')x"

echo "== purge of a $purgeMebibytes MiB file (random pass, flushed to the device)"
victim="$work/victim.bin"
head -c "${purgeMebibytes}M" "$first" > "$victim"; sync
set -- $("$bench" purge "$victim" 1000)
echo "bench_filelib purge mode 1000: result $1 in $2 s; left: $(ls "$work" | grep -c victim || true)"
mine=$2
head -c "${purgeMebibytes}M" "$first" > "$victim"; sync
set -- $("$bench" purge "$victim" 0)
echo "bench_filelib purge mode 0: result $1 in $2 s"
head -c "${purgeMebibytes}M" "$first" > "$victim"; sync
start=$(now); shred -n1 -u "$victim"; end=$(now)
shredSeconds=$(elapsed "$start" "$end")
echo "shred -n1 -u: $shredSeconds s"
echo "purge: ratio shred/ours $(echo "$shredSeconds / $mine" | bc -l | awk '{printf "%.2f", $1}')x"

rm -rf "$work"
