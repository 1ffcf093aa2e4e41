#!/usr/bin/env bash
# The payload of the kyv tool against cp, and its whole run against age, on files in /dev/shm
# (WORK_DIR=/var/tmp measures a disk instead).
#
#   bench/kyv_payload_compare.sh [kyv binary ...]     (default: build/bin/kyv)
#
# Each step runs RUNS times, every run of a kyv binary followed by one of its yardstick, so that a
# machine whose speed drifts still gives fair ratios; the medians are printed. The payload is a
# whole run less a run on a 1-byte file, which leaves out the start-up and the one key derivation.
# Give several binaries (a build before a change and one after) to compare them in the same run.
# Needs GNU time (/usr/bin/time) and, for the age lines, age (apt-get install age).
set -euo pipefail
RUNS="${RUNS:-5}"
BIG_MIB="${BIG_MIB:-1024}"
SMALL_FILES="${SMALL_FILES:-10000}"
binaries=("$@")
[ ${#binaries[@]} -gt 0 ] || binaries=(build/bin/kyv)
for binary in "${binaries[@]}"; do
    [ -x "$binary" ] || { echo "missing $binary (cmake --build build --target kyv)"; exit 1; }
done
for i in "${!binaries[@]}"; do binaries[i]=$(realpath "${binaries[i]}"); done

work=$(mktemp -d "${WORK_DIR:-/dev/shm}/kyv-payload.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir big one small out out/d out/s out/c sealed-big sealed-one
head -c 64 /dev/urandom > key  # a throwaway keyfile of this run only
head -c "$((BIG_MIB << 20))" /dev/urandom > big/big.dat
head -c 1 /dev/urandom > one/one.dat
head -c "$((SMALL_FILES * 4096))" /dev/urandom | split -b 4096 -a 5 -d --additional-suffix=.dat - small/f
"${binaries[0]}" encrypt --to sealed-big --as '*.kyv' --key-file key big '*.dat' > /dev/null
"${binaries[0]}" encrypt --to sealed-one --as '*.kyv' --key-file key one '*.dat' > /dev/null
have_age=false
if command -v age > /dev/null; then
    have_age=true
    age-keygen -o identity 2> /dev/null
    age -r "$(age-keygen -y identity)" -o sealed-big/big.age big/big.dat
fi

# paired NAME "A COMMAND" "B COMMAND": RUNS alternating runs; sets wallA wallB cpuA cpuB (medians).
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
paired() {
    : > a.txt
    : > b.txt
    for _ in $(seq "$RUNS"); do
        /usr/bin/time -a -o a.txt -f "%e %U %S" sh -c "$2" > /dev/null
        /usr/bin/time -a -o b.txt -f "%e %U %S" sh -c "$3" > /dev/null
    done
    wallA=$(awk '{print $1}' a.txt | median)
    wallB=$(awk '{print $1}' b.txt | median)
    cpuA=$(awk '{print $2 + $3}' a.txt | median)
    cpuB=$(awk '{print $2 + $3}' b.txt | median)
}
fmt() { awk "BEGIN{printf \"%.2f\", $1}"; }
ratio() { awk "BEGIN{if ($2 > 0) printf \"%.2f\", ($1) / $2; else printf \"n/a\"}"; }

echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); medians of $RUNS; wall and processor seconds"
for kyv in "${binaries[@]}"; do
    echo "== $kyv"
    encOne="$kyv encrypt --to out --as '*.kyv' --key-file key one '*.dat'"
    decOne="$kyv decrypt --to out/d --as '*.dat' --key-file key sealed-one '*.kyv'"
    paired start "$encOne" "$decOne"
    startEnc=("$wallA" "$cpuA")
    startDec=("$wallB" "$cpuB")
    for step in encrypt decrypt; do
        if [ $step = encrypt ]; then
            run="$kyv encrypt --to out --as '*.kyv' --key-file key big '*.dat'"
            copy="cp big/big.dat out/big.cp"
            start=("${startEnc[@]}")
            ageRun="age -r $(age-keygen -y identity 2> /dev/null || true) -o out/big.age big/big.dat"
        else
            run="$kyv decrypt --to out/d --as '*.dat' --key-file key sealed-big '*.kyv'"
            copy="cp sealed-big/big.kyv out/d/big.cp"
            start=("${startDec[@]}")
            ageRun="age -d -i identity -o out/big.agedec sealed-big/big.age"
        fi
        paired "$step" "$run" "$copy"
        echo "$step ${BIG_MIB} MiB: whole $(fmt "$wallA") s, 1-byte run $(fmt "${start[0]}") s," \
             "payload $(fmt "$wallA - ${start[0]}") s = $(ratio "$wallA - ${start[0]}" "$wallB") x cp $(fmt "$wallB") s;" \
             "processor: payload $(fmt "$cpuA - ${start[1]}") s = $(ratio "$cpuA - ${start[1]}" "$cpuB") x cp"
        if $have_age; then
            paired "age-$step" "$run" "$ageRun"
            echo "  whole run against age: kyv $(fmt "$wallA") s, age $(fmt "$wallB") s; processor $(fmt "$cpuA") s, $(fmt "$cpuB") s"
        fi
    done
    paired folder "$kyv encrypt --to out/s --as '*.kyv' --key-file key small '*.dat'" "cp -rT small out/c"
    echo "encrypt ${SMALL_FILES} files of 4 KiB: whole $(fmt "$wallA") s, payload $(fmt "$wallA - ${startEnc[0]}") s" \
         "= $(ratio "$wallA - ${startEnc[0]}" "$wallB") x cp -r $(fmt "$wallB") s;" \
         "processor: payload $(fmt "$cpuA - ${startEnc[1]}") s = $(ratio "$cpuA - ${startEnc[1]}" "$cpuB") x cp -r"
done
