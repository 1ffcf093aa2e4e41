#!/usr/bin/env bash
# Builds the Debian package with CPack and checks what it holds: the installed files under /usr
# and nothing else, dependencies computed from the programs' libraries, the project's version.
# Usage: check-package.sh BUILD_DIR VERSION DESKTOP_ID
set -euo pipefail
build=$1 version=$2 id=$3
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# shellcheck source=tests/install/checks.sh
source "$here/checks.sh"

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    fail "cpack -G DEB"
}
debs=("$out"/kyv-cipher_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no kyv-cipher_${version}_*.deb made"
deb=${debs[0]}
pass

diff <(sed "s/@ID@/$id/g; s|^|usr/|" "$here/expected-files.txt" | sort) \
    <(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ { sub(/^\.\//, "", $6); print $6 }' | sort) ||
    fail "the package's files differ from the list"
pass

[ "$(dpkg-deb -f "$deb" Package)" = kyv-cipher ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
pass
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libsodium23 libzxcvbn0; do
    grep -qxF "$library" <<<"$names" || fail "Depends lacks $library: $depends"
done
pass

# The MIME type, entry and icons take effect through those packages' triggers.
recommends=$(dpkg-deb -f "$deb" Recommends)
for package in shared-mime-info desktop-file-utils xdg-utils; do
    tr ',' '\n' <<<"$recommends" | awk '{ print $1 }' | grep -qxF "$package" || fail "Recommends lacks $package"
done
pass

echo "$checks passed, 0 failed"
