#!/bin/bash
# Checks of the built sumwise.exe as a file: it imports only Windows' own
# DLLs, and its version block reads back as it should.
#   tests/e2e/exe_test.sh path/to/sumwise.exe
set -uo pipefail
exe=$1
source "$(dirname "$0")/check.sh"

# Every DLL the program imports must ship with Windows.
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|COMDLG32|ADVAPI32|SHELL32|UxTheme|VERSION|msvcrt)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
check "imports some DLLs" yes "$([[ -n $imports ]] && echo yes || echo no)"
for dll in $imports; do
    check "import $dll is Windows' own" yes "$(grep -qiE "$allowed" <<<"$dll" && echo yes || echo no)"
done

# The version block, decompiled from the exe by windres.
rc=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"$/\1/p" <<<"$rc" | head -n1; }
check "FILEVERSION" "1,0,0,1" "$(sed -n 's/^ *FILEVERSION \([0-9, ]*\)$/\1/p' <<<"$rc" | tr -d ' ' | head -n1)"
check "block 040904b0" yes "$(grep -q 'BLOCK "040904b0"' <<<"$rc" && echo yes || echo no)"
check "FileDescription" "MD5 hash generator" "$(value FileDescription)"
check "FileVersion" "1, 0, 0, 1" "$(value FileVersion)"
check "ProductVersion" "1, 0, 0, 1" "$(value ProductVersion)"
check "ProductName" "Sumwise" "$(value ProductName)"
check "OriginalFilename" "sumwise.exe" "$(value OriginalFilename)"
check "LegalTrademarks empty" "" "$(value LegalTrademarks)"

check_summary exe
