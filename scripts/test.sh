#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite through CTest (window tests on Qt's offscreen platform).
# KYV_SANITIZE=1 builds and tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan);
# KYV_SANITIZE=thread with ThreadSanitizer (build-tsan), tests/tsan.supp naming what Qt's own,
# uninstrumented code alone explains. KYV_JOBS sets how many jobs build and test (default: nproc).
# The naming rules are checked on the files changed (scripts/check-names.sh); KYV_CHECK_NAMES=0 skips it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build
sanitize=OFF
case "${KYV_SANITIZE:-0}" in
    0) ;;
    1)
        build=build-asan
        sanitize=ON
        ;;
    thread)
        build=build-tsan
        sanitize=thread
        # Every report fails the test that caused it (exit status 66); later options win. Qt starts
        # the helper programs of the window tests (xprop, xwininfo, its D-Bus launcher) by fork and
        # exec from a process with threads; nothing runs in the child before the exec.
        export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp second_deadlock_stack=1 die_after_fork=0 ${TSAN_OPTIONS:-}"
        ;;
    *)
        echo "KYV_SANITIZE is 1 (address and undefined) or thread" >&2
        exit 2
        ;;
esac
jobs="${KYV_JOBS:-$(nproc)}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYV_WERROR=ON -DKYV_SANITIZE="$sanitize"
cmake --build "$build" --parallel "$jobs"
if [ "${KYV_CHECK_NAMES:-1}" = "1" ]; then
    KYV_BUILD_DIR="$build" scripts/check-names.sh
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$jobs" --timeout 600 -LE bench
