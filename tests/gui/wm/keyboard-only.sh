#!/usr/bin/env bash
# One encryption done on the real program from outside, with keys only: xdotool types into
# whatever window has the focus, as a person without a mouse would, and nothing else touches the
# program. Single file (in the real file dialog), Output file(s) (the extension typed, Enter),
# Encryption key typed twice without display, "Do it!", Yes in the confirmation, Escape in the
# report window; then a random keyfile made in the random-key window by key presses. kyv checks
# that the file was encrypted with the typed key.
# Usage, under run-under-window-manager.sh: keyboard-only.sh KYVCIPHER KYV
set -u
program=$1
kyv=$2
command -v xdotool >/dev/null || { echo "SKIPPED: xdotool is not installed (scripts/install-deps.sh installs it)"; exit 77; }

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "active window: $(xdotool getactivewindow getwindowname 2>/dev/null)"
    exit 1
}

mkdir -p "$work/home" "$work/files"
for _ in $(seq 100); do echo "a letter typed without a mouse"; done >"$work/files/letter.txt"
key="keys only from outside the window"

# Waits (up to a minute on a loaded machine) until the window that has the focus is titled $1.
wait_for_active() {
    for _ in $(seq 600); do
        [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "no window \"$1\" came to the front"
}
keys() { xdotool key --clearmodifiers --delay 80 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 40 "$1"; }

HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" "$program" >"$work/program.log" 2>&1 &
pid=$!
wait_for_active "Kyv Cipher"
# The main window ignores clicks and keys during its first second, and after each file dialog;
# a loaded machine may run that second's timer late.
guard() { sleep 3; }
guard

# The focus starts on Function; the next command is Single file.
keys Tab space
for _ in $(seq 600); do
    name=$(xdotool getactivewindow getwindowname 2>/dev/null)
    [ -n "$name" ] && [ "$name" != "Kyv Cipher" ] && break
    sleep 0.1
done
[ "$name" != "Kyv Cipher" ] || fail "Single file opened no file dialog"
type_text "$work/files/letter.txt"
keys Return
wait_for_active "Kyv Cipher"
guard

# From Single file to Output file(s): Input folder, Input file(s), Subfolders?, Output file(s)
# same?, Output folder, Output file(s).
keys Tab Tab Tab Tab Tab Tab space
wait_for_active "Specify output files"
# The focus is on the chosen option, "to an existing file" (the folder has one); the arrow keys
# choose "to files with a particular extension" two options down, Tab goes to its box, Enter in
# the box accepts.
keys Down Down Tab
type_text "enc"
keys Return
wait_for_active "Kyv Cipher"

# Encryption key: the panel's second command types the key without display.
keys Tab space
sleep 0.5
keys Tab space
wait_for_active "Type key (without display)"
type_text "$key"
keys Tab
type_text "$key"
keys Tab Return
wait_for_active "Key specified"
keys Escape  # "Inspect the key?": No
wait_for_active "Kyv Cipher"

# From Encryption key to Do it!: Randomness report, Do it!.
keys Tab Tab space
wait_for_active "Confirm operation"
keys Return
for _ in $(seq 600); do
    [ -s "$work/files/letter.enc" ] && break
    sleep 0.1
done
[ -s "$work/files/letter.enc" ] || fail "no letter.enc was written"
wait_for_active "Encrypting letter.txt"
# Escape closes the report window once its run is over; until then it is pressed again.
for _ in $(seq 120); do
    [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "Encrypting letter.txt" ] || break
    keys Escape
    sleep 0.5
done
wait_for_active "Kyv Cipher"

# Create random key, from the keyboard too: the new keyfile's name typed into the file dialog,
# then keys pressed at random in the random-key window, each counted as a movement of the mouse.
# The focus is back on "Do it!"; the key command is two up.
keys shift+Tab shift+Tab space
sleep 0.5
# The panel's fourth command.
keys Tab Tab Tab space
wait_for_active "Specify new keyfile"
type_text "$work/new.key"
keys Return
wait_for_active "Create random key"
# One character per quarter second that saw a key press; the window closes after the 64th and
# the new keyfile is offered for inspection, in a window titled by its name. Keys go only to the
# random-key window: while another has the focus for a moment (a loaded machine), the loop waits.
# A key the program finds not random enough, which happens by chance, is made again (Retry).
for _ in $(seq 1200); do
    name=$(xdotool getactivewindow getwindowname 2>/dev/null)
    case $name in
        "$work/new.key") break ;;
        "Create random key") xdotool key --clearmodifiers "$(printf '%s' abcdefghijklmnopqrstuvwxyz | cut -c $((RANDOM % 26 + 1)))" ;;
        "Key not sufficiently random") keys Return ;;
    esac
    sleep 0.3
done
wait_for_active "$work/new.key"
keys Escape  # no inspection
wait_for_active "Kyv Cipher"
[ "$(stat -c %s "$work/new.key" 2>/dev/null)" = 64 ] || fail "the new keyfile does not hold 64 bytes"
od -An -tu1 -v "$work/new.key" | tr -s ' ' '\n' | awk 'NF && $1 < 33 { low = 1 } END { exit low }' ||
    fail "the new keyfile holds a byte below 33"

printf '%s\n' "$key" | "$kyv" verify --key-stdin "$work/files" letter.enc >"$work/verify.log" 2>&1 ||
    fail "kyv verify: $(cat "$work/verify.log")"
cmp -s "$work/files/letter.txt" "$work/files/letter.enc" && fail "letter.enc is the plaintext"
echo "letter.txt encrypted into letter.enc, and a random keyfile created, with keys only"
