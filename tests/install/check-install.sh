#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses the installation as a person would: the
# files where a desktop looks for them, `kyv --version` and a round trip with the installed `kyv`,
# the installed program started offscreen until its main window shows (its texts found only in the
# installed data folder), the desktop entry and metadata validated, and the MIME type of encrypted
# files recognised.
# Usage: check-install.sh BUILD_DIR VERSION DESKTOP_ID
set -euo pipefail
build=$1 version=$2 id=$3
here=$(cd "$(dirname "$0")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# shellcheck source=tests/install/checks.sh
source "$here/checks.sh"

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >"$stage/install.log" || {
    cat "$stage/install.log"
    fail "cmake --install"
}
prefix=$stage/root/usr

# Exactly the expected files, no more: a stray file (a test, a build copy of kyve.dat beside the
# programs) would be shipped too.
diff <(sed "s/@ID@/$id/g" "$here/expected-files.txt" | sort) \
    <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) || fail "installed files differ from the list"
pass
for size in 16 22 24 32 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
        fail "icon ${size}x${size} is not a PNG of that size"
done
pass

[ "$("$prefix/bin/kyv" --version)" = "kyv (Kyv Cipher) $version" ] || fail "kyv --version"
pass

work=$stage/work
mkdir -p "$work/in" "$work/enc" "$work/back"
head -c 300000 /dev/urandom >"$work/in/random.doc"
printf 'plain text\n' >"$work/in/short.doc"
key='a key for the installed tool'
printf '%s\n' "$key" | "$prefix/bin/kyv" encrypt --key-stdin --yes --to "$work/enc" --as '*.enc' \
    "$work/in" '*.doc' >"$stage/encrypt.log" 2>&1 || {
    cat "$stage/encrypt.log"
    fail "installed kyv encrypt"
}
printf '%s\n' "$key" | "$prefix/bin/kyv" decrypt --key-stdin --yes --to "$work/back" --as '*.doc' \
    "$work/enc" '*.enc' >"$stage/decrypt.log" 2>&1 || {
    cat "$stage/decrypt.log"
    fail "installed kyv decrypt"
}
for name in random short; do
    ! cmp -s "$work/in/$name.doc" "$work/enc/$name.enc" || fail "$name.enc is not encrypted"
    cmp "$work/in/$name.doc" "$work/back/$name.doc" || fail "$name.doc did not come back"
done
pass

# The program finds kyve.dat in share/kyvcipher only (none lies beside it), shows its window
# with its icon and the version `kyv` printed, and ends.
shown=$(HOME="$stage/home" XDG_DATA_HOME="$stage/home/data" QT_QPA_PLATFORM=offscreen \
    timeout 60 "$prefix/bin/kyvcipher" --quit-when-shown 2>"$stage/program.log") || {
    cat "$stage/program.log"
    fail "installed kyvcipher did not show its main window"
}
[ "$shown" = "Kyv Cipher $version: main window shown, icon 256x256" ] || fail "kyvcipher said: $shown"
pass

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry names another icon"
pass

# The file manager's side: the entry opens files (%F) and offers itself for encrypted files, both
# menus offer encryption and decryption, and the MIME package, installed into a data folder of its
# own, makes `xdg-mime` recognise a file the installed kyv has just encrypted, by name and by
# content alone.
type=application/x-kyvcipher-encrypted
entry=$prefix/share/applications/$id.desktop menu=$prefix/share/kio/servicemenus/$id.desktop
grep -qx "Exec=kyvcipher %F" "$entry" || fail "desktop entry does not take files"
grep -qx "MimeType=$type;" "$entry" || fail "desktop entry does not list $type"
for file in "$entry" "$menu"; do
    grep -qx "Exec=kyvcipher --encrypt %F" "$file" && grep -qx "Exec=kyvcipher --decrypt %F" "$file" &&
        grep -qx "Name=Encrypt with Kyv Cipher" "$file" && grep -qx "Name=Decrypt with Kyv Cipher" "$file" ||
        fail "$file lacks the encrypt and decrypt actions"
done
pass
icon=$(sed -n 's|.*<icon name="\(.*\)"/>.*|\1|p' "$prefix/share/mime/packages/$id.xml")
[ -f "$prefix/share/icons/hicolor/scalable/mimetypes/$icon.svg" ] || fail "no icon $icon for $type"
pass
xdg=$stage/xdg
mkdir -p "$xdg/mime/packages"
cp "$prefix/share/mime/packages/$id.xml" "$xdg/mime/packages/"
update-mime-database "$xdg/mime" || fail "update-mime-database"
cp "$work/enc/random.enc" "$work/enc/no-extension"
query() { env -u XDG_CURRENT_DESKTOP XDG_DATA_HOME="$xdg" XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$1"; }
for file in random.enc no-extension; do
    found=$(query "$work/enc/$file")
    [ "$found" = "$type" ] || fail "xdg-mime calls $file $found"
done
found=$(query "$work/in/random.doc")
[ "$found" != "$type" ] || fail "xdg-mime calls a file that is not encrypted $type"
pass
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "AppStream metadata"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "metadata's release is not $version"
pass
for page in kyv kyvcipher; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done
pass

echo "$checks passed, 0 failed"
