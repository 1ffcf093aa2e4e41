#!/usr/bin/env bash
# Builds the fuzz targets of the two start-up readers (program texts, setup files) with clang and
# runs each in turn, its corpus seeded from the shipped and the tests' files.
# Usage: fuzz/run_fuzz_readers.sh [seconds per target] (default 600); extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
build="${KYV_FUZZ_BUILD:-build-fuzz}"
CC=clang CXX=clang++ cmake -S . -B "$build" -DKYV_BUILD_FUZZ=ON -DKYV_BUILD_TESTS=OFF -DKYV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_program_texts fuzz_setup_file -j2

texts="$build/fuzz-corpus/program-texts"
setups="$build/fuzz-corpus/setup-file"
mkdir -p "$texts" "$setups"
cp data/kyve.dat "$texts/seed-shipped"
printf '# c\r\n6: Key \\\\ \\n\r\n7:x\r\n7: again\r\n' > "$texts/seed-escapes-duplicate"
printf '9.77\r\n 1 \r\n 0 \r\n 1 \r\n 0 \r\n"/home/a b/in"\r\n"*.doc"\r\n"/out/"\r\n"*.enc"\r\n' > "$setups/seed-written"
printf '9.77, 0 , 1 ,0,1\n" x ",*.*,"",\n"*.kyv"\n' > "$setups/seed-commas"

# The texts' limit is 4 MiB, far above what the fuzzer explores; 64 KiB reaches the line limits.
nice -n 10 "$build/bin/fuzz_program_texts" "$texts" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "$@"
nice -n 10 "$build/bin/fuzz_setup_file" "$setups" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "$@"
