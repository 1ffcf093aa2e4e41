#!/usr/bin/env bash
# Takes the pictures of every window that the README shows, under a real window manager (openbox
# on an Xvfb display of its own), and writes them into docs/screenshots/. The byte-pair pictures
# beside them come from kyv. Usage: scripts/screenshots.sh [BUILD_FOLDER] (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYV_WERROR=ON -DKYV_SANITIZE=OFF
fi
cmake --build "$build" --parallel "$(nproc)" --target kyv_screenshots kyv
out=docs/screenshots
mkdir -p "$out"
tests/gui/wm/run-under-window-manager.sh "$(find "$build" -name kyv_screenshots -type f -perm -u+x | head -n 1)" \
    "$PWD/$out"

# A text file and the same file encrypted, drawn as the graphic window draws them.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kyv=$(find "$build" -name kyv -type f -perm -u+x | head -n 1)
cat README.md docs/*.md >"$work/all.txt"
head -c 65536 "$work/all.txt" >"$work/text.txt"
head -c 48 /dev/urandom | base64 -w0 >"$work/key"  # 64 characters
"$kyv" encrypt --key-file "$work/key" --as '*.enc' "$work" 'text.txt' >/dev/null
"$kyv" randomness --picture "$out/picture-text.png" "$work/text.txt" >/dev/null
"$kyv" randomness --picture "$out/picture-encrypted.png" "$work/text.enc" >/dev/null
ls "$out"
