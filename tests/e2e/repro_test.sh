#!/bin/bash
# The release is reproducible: built twice, from copies of this checkout's
# tracked files as they are now (edits included) in two folders of different
# path lengths, one after the other, sumwise.exe and the zip come out the
# same. Also checks what make dist writes: the zip's contents, SHA256SUMS.
#   tests/e2e/repro_test.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check.sh"
src=$(git -C "$here" rev-parse --show-toplevel 2>/dev/null) || { echo "repro: not a git checkout, skipped"; exit 77; }
# Neither copy is a git checkout: both take the zip's date from here. The
# program is built without it, as make dist builds it (ld would otherwise
# take it for the PE time stamp and hide a link-time one).
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct)}
unset SOURCE_DATE_EPOCH
tmp=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-repro.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

trees=("$tmp/a" "$tmp/a-much-longer-folder-name/and/deeper")
for tree in "${trees[@]}"; do
    mkdir -p "$tree"
    # Files deleted but not committed yet are left out (tar only warns).
    (cd "$src" && git ls-files -z | tar --null --ignore-failed-read -T - -cf - 2>/dev/null) | tar -xf - -C "$tree"
    # SUMWISE_BUILD_TESTS is off: only the program and the release.
    start=$SECONDS
    if ! (cd "$tree" && cmake --preset windows && cmake --build --preset windows --target sumwise &&
          SOURCE_DATE_EPOCH=$epoch cmake --build --preset windows --target dist) >"$tree.log" 2>&1; then
        tail -n 40 "$tree.log"; echo "repro: the release build in $tree failed"; exit 1
    fi
    echo "built in $tree ($((SECONDS - start)) s): $(grep -A2 '^dist:' "$tree.log" | tail -n2 | xargs)"
done

a=${trees[0]}/build/dist b=${trees[1]}/build/dist
zip=$(basename "$a"/sumwise-*-win64.zip)
check "zip holds exactly the program, README.txt, LICENSE.txt" "LICENSE.txt README.txt sumwise.exe" \
    "$(/usr/bin/python3 -c 'import sys, zipfile; print(*sorted(zipfile.ZipFile(sys.argv[1]).namelist()))' "$a/$zip")"
check "sha256sum -c SHA256SUMS" yes "$( (cd "$a" && sha256sum --quiet -c SHA256SUMS) && echo yes || echo no)"
for file in sumwise.exe "$zip"; do
    same=yes
    /usr/bin/python3 "$src/scripts/locate-difference" "$a/$file" "$b/$file" || same=no
    check "$file the same from both folders" yes $same
done
check_summary repro
