# Sourced by the fuzz scripts, from the repository's root: where the fuzz build lives, how its
# targets are built with clang, and how one target is run.
build="${KYV_FUZZ_BUILD:-build-fuzz}"

# build_targets TARGET...
build_targets() {
    CC=clang CXX=clang++ cmake -S . -B "$build" -DKYV_BUILD_FUZZ=ON -DKYV_BUILD_TESTS=OFF \
        -DKYV_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" --target "$@" -j2
}

# run_target TARGET CORPUS MAX_LEN SECONDS [libFuzzer arguments...]
run_target() {
    local target=$1 corpus=$2 maxLen=$3 seconds=$4
    shift 4
    nice -n 10 "$build/bin/$target" "$corpus" -max_total_time="$seconds" -max_len="$maxLen" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "$@"
}
