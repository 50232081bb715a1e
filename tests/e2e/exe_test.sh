#!/bin/bash
# Checks of the built sumwise.exe as a file: it imports only Windows' known
# DLLs, it is stripped and hardened, and its version block reads back as it
# should.
#   tests/e2e/exe_test.sh path/to/sumwise.exe
set -uo pipefail
exe=$1
source "$(dirname "$0")/check.sh"

# Every DLL the program imports must be one of Windows' known DLLs, which
# are never looked for in the program's folder (common controls come from
# side-by-side through the manifest).
allowed='^(KERNEL32|USER32|GDI32|SHELL32|COMDLG32|msvcrt|COMCTL32)\.dll$'
header=$(x86_64-w64-mingw32-objdump -p "$exe")
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$header")
check "imports some DLLs" yes "$([[ -n $imports ]] && echo yes || echo no)"
for dll in $imports; do
    check "import $dll is a known DLL" yes "$(grep -qiE "$allowed" <<<"$dll" && echo yes || echo no)"
done
# The manifest asks for the user's own rights and no more: a higher level
# would bring a UAC prompt, or no start at all for a standard user.
check "manifest's execution level" '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
    "$(grep -ao '<requestedExecutionLevel[^>]*>' "$exe" | tr '\n' ' ' | sed 's/ $//')"
# A DLL that Wine never loads, so no plant can show its pin.
check "manifest pins textshaping.dll" 1 "$(grep -ac 'name="textshaping.dll" loadFrom="%SystemRoot%\\system32\\"' "$exe")"

# A release carries no debug information and no symbols, and keeps ASLR
# with high-entropy addresses and NX, terminal-server aware (0x20 | 0x40 |
# 0x100 | 0x8000).
check "no .debug sections" 0 "$(x86_64-w64-mingw32-objdump -h "$exe" | grep -c '\.debug_')"
check "no symbols" "no symbols" "$(x86_64-w64-mingw32-objdump -t "$exe" | sed -n 's/^\(no symbols\)$/\1/p')"
characteristics=$(sed -n 's/^DllCharacteristics\s*\([0-9a-fA-F]*\)$/\1/p' <<<"$header")
check "DllCharacteristics" 8160 "$(printf '%x' $((0x${characteristics:-0})))"

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
