#!/bin/sh
# The file library beside the usual tools, on the same warm files in the same run:
#   randomness measure vs ent, comparison vs cmp, purge vs shred -n1 -u.
# Each line gives the wall-clock time and the processor time (user + system): on a busy machine the
# processor time is the fairer figure.
# Usage: bench/filelib_compare.sh [build/bin folder] [work folder] [MiB] [purge MiB]
# Needs ent (apt-get install ent), cmp, shred, bc and GNU time (/usr/bin/time).
set -eu
bin=${1:-build/bin}
work=${2:-/tmp/kyv-filelib-bench}
mebibytes=${3:-512}
purgeMebibytes=${4:-128}
bench="$bin/bench_filelib"

# timed LABEL MiB COMMAND...: runs the command, prints its times and rates, leaves "wall cpu" in $times.
timed() {
    label=$1
    size=$2
    shift 2
    /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" > "$work/out.txt"
    set -- $(cat "$work/time.txt")
    cpu=$(echo "$2 + $3" | bc -l)
    times="$1 $cpu"
    printf '%-28s %-14s wall %6.3f s (%5.0f MB/s)  cpu %6.3f s (%5.0f MB/s)\n' "$label" \
        "$(head -c 40 "$work/out.txt" | tr '\n' ' ' | cut -d' ' -f1)" "$1" \
        "$(echo "$size * 1.048576 / $1" | bc -l)" "$cpu" "$(echo "$size * 1.048576 / $cpu" | bc -l)"
}
ratio() { echo "$1 / $2" | bc -l | awk '{printf "%.1f", $1}'; }

mkdir -p "$work"
first="$work/first.bin"
second="$work/second.bin"
head -c "${mebibytes}M" /dev/urandom > "$first"
cp "$first" "$second"
cat "$first" "$second" > /dev/null   # warm both in the page cache
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores"

echo "== randomness of a warm $mebibytes MiB random file"
timed "bench_filelib measure" "$mebibytes" "$bench" measure "$first"
timed "bench_filelib measure" "$mebibytes" "$bench" measure "$first"
set -- $times; oursWall=$1; oursCpu=$2
timed "ent" "$mebibytes" ent "$first"
set -- $times
echo "ent / ours: wall $(ratio "$1" "$oursWall")x, cpu $(ratio "$2" "$oursCpu")x"

echo "== comparison of two identical warm $mebibytes MiB files (MB/s per file)"
timed "bench_filelib compare" "$mebibytes" "$bench" compare "$first" "$second"
set -- $times; oursWall=$1; oursCpu=$2
timed "cmp" "$mebibytes" cmp "$first" "$second"
set -- $times
echo "cmp / ours: wall $(ratio "$1" "$oursWall")x, cpu $(ratio "$2" "$oursCpu")x"

echo "== purge of a $purgeMebibytes MiB file (flushed to the device)"
victim="$work/victim.bin"
head -c "${purgeMebibytes}M" "$first" > "$victim"; sync
timed "bench_filelib purge 1000" "$purgeMebibytes" "$bench" purge "$victim" 1000
set -- $times; oursWall=$1
echo "left in the folder: $(ls "$work" | grep -c -v -e first.bin -e second.bin -e time.txt -e out.txt || true) files"
head -c "${purgeMebibytes}M" "$first" > "$victim"; sync
timed "bench_filelib purge 0" "$purgeMebibytes" "$bench" purge "$victim" 0
head -c "${purgeMebibytes}M" "$first" > "$victim"; sync
timed "shred -n1 -u" "$purgeMebibytes" shred -n1 -u "$victim"
set -- $times
echo "shred / ours (random pass): wall $(ratio "$1" "$oursWall")x"

rm -rf "$work"
