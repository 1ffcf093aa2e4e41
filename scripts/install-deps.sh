#!/usr/bin/env bash
# Installs the Debian packages the program and its tests need, when any is missing.
# The installation tests validate the desktop entry (desktop-file-utils), the metadata (appstream)
# and the manual pages (man-db); the package's dependencies come from dpkg-shlibdeps (dpkg-dev), which
# CPack calls after looking at each file with `file`. The window-placement test runs the program under
# a real window manager (openbox on Xvfb) and reads the frames with xwininfo (x11-utils); the
# keyboard-only test types into the real program with xdotool. The MIME
# type of encrypted files is checked with update-mime-database (shared-mime-info) and xdg-mime
# (xdg-utils), whose lookup outside a desktop session is `mimetype` (libfile-mimeinfo-perl). Tests stop
# kyv at exact system calls or make them fail with strace, and take core images of it with gdb's gcore.
# libzxcvbn-dev estimates how strong a typed key is.
set -euo pipefail

packages=(build-essential cmake pkg-config git qt6-base-dev libsodium-dev libssl-dev libzxcvbn-dev libgtest-dev
          libgmock-dev fonts-dejavu-core fonts-liberation clang-tidy
          desktop-file-utils appstream dpkg-dev file man-db shared-mime-info xdg-utils libfile-mimeinfo-perl
          xvfb openbox x11-utils xdotool strace gdb)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
