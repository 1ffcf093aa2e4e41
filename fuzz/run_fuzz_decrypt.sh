#!/usr/bin/env bash
# Builds the decryptor's fuzz target with clang and runs it, its corpus seeded from the recorded
# vectors. Usage: fuzz/run_fuzz_decrypt.sh [seconds] (default 600); extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
source fuzz/fuzz_common.sh
build_targets fuzz_decrypt

corpus="$build/fuzz-corpus/decrypt"
mkdir -p "$corpus"
# Mode byte 0: the whole file follows. Mode byte 1: a plaintext length and a payload follow,
# behind a header the target seals with the right key.
for vector in tests/data/cipher/*.kyv; do
    { printf '\000'; cat "$vector"; } > "$corpus/seed-$(basename "$vector" .kyv)"
done
{ printf '\001\020\000\000\000\000\000\000\000'; head -c 32 /dev/zero; } > "$corpus/seed-sealed-16"
{ printf '\001\000\000\001\000\000\000\000\000'; head -c 65552 /dev/zero; } > "$corpus/seed-sealed-one-chunk"

run_target fuzz_decrypt "$corpus" 140000 "$seconds" "$@"
