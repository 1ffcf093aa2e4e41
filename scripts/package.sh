#!/usr/bin/env bash
# Builds the Debian package: out/kyv-cipher_VERSION_ARCH.deb, installable with
# `apt install ./out/kyv-cipher_*.deb`. Its own build folder holds only the two programs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYV_WERROR=ON -DKYV_BUILD_TESTS=OFF \
    -DKYV_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"
mkdir -p out
(cd "$build" && cpack -G DEB -B "$PWD/../out")
rm -rf out/_CPack_Packages
ls -l out/kyv-cipher_*.deb
