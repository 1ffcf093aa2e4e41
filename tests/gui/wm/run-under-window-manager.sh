#!/usr/bin/env bash
# Runs a window test under a real window manager (openbox) on an Xvfb display of its own.
# Usage: run-under-window-manager.sh TEST_PROGRAM [ARGUMENTS]. Exits 77 (CTest: skipped), saying
# why, when the X server or the window manager is missing or cannot start.
set -u
skip() {
    echo "SKIPPED: $*"
    exit 77
}
for tool in Xvfb openbox xprop xwininfo; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to descriptor 3. Each start-up may take up to a
# minute on a loaded machine before the test is skipped.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 600); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || skip "the X server did not start: $(tail -n 3 "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
# openbox names its version on the root window once its start-up is over.
for _ in $(seq 600); do
    xprop -root _OB_VERSION 2>/dev/null | grep -q '"' && break
    sleep 0.1
done
xprop -root _OB_VERSION 2>/dev/null | grep -q '"' ||
    skip "the window manager did not start: $(tail -n 3 "$work/openbox.log")"

QT_QPA_PLATFORM=xcb "$@"
