#!/usr/bin/env bash
# Checks the naming rules of .clang-tidy on the .cpp files changed since a base, and on the .cpp
# of every changed header; fails on any finding. Uses build/compile_commands.json.
#
#   scripts/check-names.sh [BASE]
#
# BASE defaults to the merge-base with the branch's upstream, or HEAD~1 when there is none.
# Uncommitted and untracked files count as changed. Findings in headers are reported only for
# the headers that changed. KYV_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${KYV_BUILD_DIR:-build}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "check-names: $build/compile_commands.json is missing; configure the build first" >&2
    exit 2
fi

base=${1:-}
if [ -z "$base" ]; then
    if upstream=$(git rev-parse --abbrev-ref --symbolic-full-name '@{upstream}' 2>/dev/null); then
        base=$(git merge-base HEAD "$upstream")
    else
        base=HEAD~1
    fi
fi

changed=$( { git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h'
             git ls-files --others --exclude-standard -- '*.cpp' '*.h'; } | sort -u)

headers=()
sources=()
while IFS= read -r file; do
    [ -n "$file" ] || continue
    case "$file" in
        *.h)
            headers+=("$file")
            [ -f "${file%.h}.cpp" ] && sources+=("${file%.h}.cpp")
            ;;
        *.cpp) sources+=("$file") ;;
    esac
done <<< "$changed"

# Only files the build compiles can be checked with their real flags.
checked=()
for file in $(printf '%s\n' "${sources[@]+"${sources[@]}"}" | sort -u); do
    if grep -qF "\"$PWD/$file\"" "$build/compile_commands.json"; then
        checked+=("$PWD/$file")
    else
        echo "check-names: skipped $file (not in $build/compile_commands.json)"
    fi
done
if [ ${#checked[@]} -eq 0 ]; then
    echo "check-names: no changed source files since $base"
    exit 0
fi

# A header filter that matches the changed headers only ("^$" matches no file).
filter='^$'
if [ ${#headers[@]} -gt 0 ]; then
    filter=$(printf '%s\n' "${headers[@]}" | sed 's/[.[\*^$()+?{|]/\\&/g; s|^|/|; s|$|$|' | paste -sd '|')
fi

echo "check-names: ${#checked[@]} file(s) since $base"
# The compile commands are GCC's: clang lets their warning options pass, and its own warnings are
# not findings here.
printf '%s\0' "${checked[@]}" |
    xargs -0 -n 1 -P 2 clang-tidy -p "$build" --quiet --header-filter="$filter" \
        --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-error
