#!/usr/bin/env bash
# Compares the cipher engine with cp, age and openssl on the same files under /dev/shm, in one run.
#
#   bench/cipher_compare.sh [build folder]     (default: build; needs bin/bench_cipher there)
#
# Figures: wall time of every step (best of $REPEATS), the engine's own split into key derivation
# and payload work, peak memory, and the size overhead. Needs age and openssl (apt-get install age).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
bench="$build/bin/bench_cipher"
REPEATS="${REPEATS:-3}"
BIG_MIB="${BIG_MIB:-1024}"
SMALL_FILES="${SMALL_FILES:-10000}"
for tool in age age-keygen openssl; do
    command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install age openssl)"; exit 1; }
done
[ -x "$bench" ] || { echo "missing $bench (cmake --build $build --target bench_cipher)"; exit 1; }

work=$(mktemp -d /dev/shm/kyv-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"

# Throwaway secrets of this run only, passed on standard input or a descriptor, never as arguments.
kyv_key=$(head -c 48 /dev/urandom | base64 -w0)
ssl_pass=$(head -c 32 /dev/urandom | base64 -w0)
age-keygen -o "$work/age-identity.txt" 2>/dev/null
recipient=$(age-keygen -y "$work/age-identity.txt")

echo "preparing ${BIG_MIB} MiB file and ${SMALL_FILES} files of 4 KiB in $work"
head -c "$((BIG_MIB << 20))" /dev/urandom > "$work/big"
mkdir "$work/small"
head -c "$((SMALL_FILES * 4096))" /dev/urandom | split -b 4096 -a 5 -d - "$work/small/f"

# best_of NAME COMMAND...: runs the command REPEATS times and keeps the fastest run's wall time,
# processor time (user + system) and engine figures, and the largest peak resident memory.
declare -A seconds cpu peak figures
best_of() {
    local name=$1 best="" mem=0
    shift
    for _ in $(seq "$REPEATS"); do
        "$@" > "$work/out.txt" 2> "$work/time.txt" || { cat "$work/time.txt"; exit 1; }
        local t m u s
        read -r t m u s < <(tail -n1 "$work/time.txt")
        if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then
            best=$t
            cpu[$name]=$(awk "BEGIN{printf \"%.2f\", $u + $s}")
            figures[$name]=$(cat "$work/out.txt")
        fi
        if [ "$m" -gt "$mem" ]; then mem=$m; fi
    done
    seconds[$name]=$best
    peak[$name]=$mem
}
timed() { /usr/bin/time -f "%e %M %U %S" "$@"; }
kyv() { printf %s "$kyv_key" | timed "$bench" "$@"; }
ssl() { timed openssl enc "$@" -aes-256-ctr -pbkdf2 -pass fd:3 3<<<"$ssl_pass"; }

best_of cp timed cp "$work/big" "$work/big.cp"
best_of kyv-encrypt kyv encrypt "$work/big" "$work/big.kyv"
best_of kyv-decrypt kyv decrypt "$work/big.kyv" "$work/big.dec"
cmp -s "$work/big" "$work/big.dec" || { echo "decryption differs"; exit 1; }
best_of age-encrypt timed age -r "$recipient" -o "$work/big.age" "$work/big"
best_of age-decrypt timed age -d -i "$work/age-identity.txt" -o "$work/big.agedec" "$work/big.age"
best_of openssl-encrypt ssl -in "$work/big" -out "$work/big.ssl"
best_of openssl-decrypt ssl -d -in "$work/big.ssl" -out "$work/big.ssldec"
rm -f "$work/big.cp" "$work/big.dec" "$work/big.agedec" "$work/big.ssldec"

rm -rf "$work/small.cp"
best_of cp-r timed cp -r "$work/small" "$work/small.cp"
rm -rf "$work/small.cp"
best_of kyv-folder kyv encrypt-folder "$work/small" "$work/small.kyv"
# One age process per file is slow: once is enough.
REPEATS=1 best_of age-folder timed bash -c 'for f in "$1"/*; do age -r "$2" -o "$3/${f##*/}" "$f"; done' _ \
    "$work/small" "$recipient" "$(mkdir -p "$work/small.age" && echo "$work/small.age")"

ratio() { awk "BEGIN{if ($2 > 0) printf \"%.2f\", $1 / $2; else printf \"n/a\"}"; }
figure() { sed -n "s/.*$2=\([^ ]*\).*/\1/p" <<<"${figures[$1]}"; }
echo
echo "machine: $(nproc) cores, $(uname -r), load average $(cut -d' ' -f1-3 /proc/loadavg); files in /dev/shm; best of $REPEATS"
echo "cpu_s is user + system time: on a busy machine it compares better than wall time"
printf '%-16s %7s %7s %7s %7s %9s  %s\n' step wall_s vs_cp cpu_s vs_cp peak_MiB note
for name in cp kyv-encrypt kyv-decrypt age-encrypt age-decrypt openssl-encrypt openssl-decrypt; do
    note=""
    if [[ $name == kyv-* ]]; then
        note="derive $(figure "$name" derive_s) s + payload $(figure "$name" payload_s) s"
        note+=" (processor $(figure "$name" payload_cpu_s) s)"
        note+=" (payload $(ratio "$(figure "$name" payload_s)" "${seconds[cp]}") x cp)"
    fi
    printf '%-16s %7s %7s %7s %7s %9s  %s\n' "$name" "${seconds[$name]}" "$(ratio "${seconds[$name]}" "${seconds[cp]}")" \
        "${cpu[$name]}" "$(ratio "${cpu[$name]}" "${cpu[cp]}")" "$((peak[$name] / 1024))" "$note"
done
for name in cp-r kyv-folder age-folder; do
    note=""
    if [[ $name == kyv-folder ]]; then
        note="derivations $(figure kyv-folder derivations), payload $(figure kyv-folder payload_s) s"
    fi
    printf '%-16s %7s %7s %7s %7s %9s  %s\n' "$name" "${seconds[$name]}" "$(ratio "${seconds[$name]}" "${seconds[cp-r]}")" \
        "${cpu[$name]}" "$(ratio "${cpu[$name]}" "${cpu[cp-r]}")" "$((peak[$name] / 1024))" "$note"
done
echo
for step in encrypt decrypt; do
    echo "age / kyv $step: $(ratio "${seconds[age-$step]}" "${seconds[kyv-$step]}") (whole run)," \
         "$(ratio "${seconds[age-$step]}" "$(figure kyv-$step payload_s)") (kyv payload only);" \
         "openssl / kyv: $(ratio "${seconds[openssl-$step]}" "${seconds[kyv-$step]}")," \
         "$(ratio "${seconds[openssl-$step]}" "$(figure kyv-$step payload_s)")"
done
echo "kyv peak memory: payload $(( $(figure kyv-encrypt payload_peak_kib) / 1024 )) MiB, key derivation $(( $(figure kyv-encrypt derivation_peak_kib) / 1024 )) MiB"
plain=$(stat -c %s "$work/big")
sealed=$(stat -c %s "$work/big.kyv")
echo "size: plaintext $plain, encrypted $sealed, overhead $((sealed - plain)) bytes = header 67 + tags" \
     "$(awk "BEGIN{printf \"%.4f\", ($sealed - $plain - 67) * 100 / $plain}") %"
echo "size of 4 KiB file encrypted: $(stat -c %s "$(ls -d "$work"/small.kyv/* | head -n1)") bytes"
