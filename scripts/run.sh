#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Same options as scripts/test.sh, so switching between the two rebuilds nothing.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYV_WERROR=ON -DKYV_SANITIZE=OFF
cmake --build build --parallel "$(nproc)" --target kyvcipher
exec build/bin/kyvcipher "$@"
