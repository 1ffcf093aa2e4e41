#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite through CTest (window tests on Qt's offscreen platform).
# KYV_SANITIZE=1 builds and tests with AddressSanitizer and UndefinedBehaviorSanitizer.
# The naming rules are checked on the files changed (scripts/check-names.sh); KYV_CHECK_NAMES=0 skips it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build
sanitize=OFF
if [ "${KYV_SANITIZE:-0}" = "1" ]; then
    build=build-asan
    sanitize=ON
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYV_WERROR=ON -DKYV_SANITIZE="$sanitize"
cmake --build "$build" --parallel "$(nproc)"
if [ "${KYV_CHECK_NAMES:-1}" = "1" ]; then
    KYV_BUILD_DIR="$build" scripts/check-names.sh
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 600 -LE bench
