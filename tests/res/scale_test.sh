#!/bin/bash
# The resource tests at 96, 120, 144 and 192 DPI, in the prefix kept for
# them (scripts/wine-env), so that no other test starts scaled. Wine reads
# a process's DPI from LogPixels when the process starts, but its monitor's
# when its server starts: each run gets a server of its own, so the two
# agree, as on Windows. DpiScalingVer makes Wine honour the manifest's
# awareness. The first round records the dialogs at each DPI; the second
# moves dialogs created at each DPI to every other and back, against the
# records, and must report every move it checked.
#   tests/res/scale_test.sh res_test.exe
set -uo pipefail
exe=$1
export SUMWISE_WINE_DPI=1
source "$(dirname "$0")/../../scripts/wine-env"
wine_env_prefix && wine_env_display || exit 1
layouts=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-layouts.XXXXXX") || exit 1
trap 'rm -rf "$layouts"' EXIT
dpis=(96 120 144 192)
status=0

# Runs the tests of filter $2 in a Wine session at $1 DPI.
at_dpi() {
    wineserver -k 2>/dev/null; wineserver -w
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v DpiScalingVer /t REG_DWORD /d 0x1018 /f >/dev/null 2>&1
    wineserver -w
    SUMWISE_ASKED_DPI=$1 SUMWISE_LAYOUTS="Z:$layouts" "$WINE" "$exe" --gtest_brief=1 --gtest_filter="$2"
}

for dpi in "${dpis[@]}"; do
    echo "at $dpi DPI:"
    at_dpi "$dpi" 'MainDialog.*:AboutBox.*:Icon.*:DpiChange.RecordDialogsAsCreated' || status=1
done
records=$(find "$layouts" -name '*.txt' | wc -l)
echo "$records records"
[[ $records == $((2 * ${#dpis[@]})) ]] || { echo "FAIL: $records records, not $((2 * ${#dpis[@]}))"; status=1; }

moves=0
for dpi in "${dpis[@]}"; do
    echo "moved from $dpi DPI:"
    out=$(at_dpi "$dpi" 'DpiChange.DialogsMovedLayOutAsIfCreatedThere')
    rc=$?
    printf '%s\n' "$out"
    [[ $rc == 0 ]] || { echo "FAIL: the run at $dpi DPI exited $rc"; status=1; }
    n=$(sed -n 's/^\([0-9]*\) moves checked.*/\1/p' <<<"$out" | tr -d '\r')
    moves=$((moves + ${n:-0}))
done
want=$((2 * ${#dpis[@]} * (${#dpis[@]} - 1) * 2))
echo "$moves moves checked in all"
[[ $moves == "$want" ]] || { echo "FAIL: $moves moves checked, not $want"; status=1; }
exit $status
