#!/usr/bin/env bash
# Installs the Debian packages the program and its tests need, when any is missing.
set -euo pipefail

packages=(build-essential cmake pkg-config git qt6-base-dev libsodium-dev libssl-dev libgtest-dev libgmock-dev
          fonts-dejavu-core fonts-liberation clang-tidy)
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
