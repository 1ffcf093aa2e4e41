#!/usr/bin/env bash
# Builds the fuzz targets of the two start-up readers (program texts, setup files) with clang and
# runs each in turn, its corpus seeded from the shipped and the tests' files.
# Usage: fuzz/run_fuzz_readers.sh [seconds per target] (default 600); extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
source fuzz/fuzz_common.sh
build_targets fuzz_program_texts fuzz_setup_file

texts="$build/fuzz-corpus/program-texts"
setups="$build/fuzz-corpus/setup-file"
mkdir -p "$texts" "$setups"
cp data/kyve.dat "$texts/seed-shipped"
printf '# c\r\n6: Key \\\\ \\n\r\n7:x\r\n7: again\r\n' > "$texts/seed-escapes-duplicate"
printf '9.77\r\n 1 \r\n 0 \r\n 1 \r\n 0 \r\n"/home/a b/in"\r\n"*.doc"\r\n"/out/"\r\n"*.enc"\r\n' > "$setups/seed-written"
printf '9.77, 0 , 1 ,0,1\n" x ",*.*,"",\n"*.kyv"\n' > "$setups/seed-commas"

# The texts' limit is 4 MiB, far above what the fuzzer explores; 64 KiB reaches the line limits.
run_target fuzz_program_texts "$texts" 65536 "$seconds" "$@"
run_target fuzz_setup_file "$setups" 4096 "$seconds" "$@"
