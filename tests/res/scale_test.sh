#!/bin/bash
# The resource tests at 96, 120, 144 and 192 DPI, in the prefix kept for
# them (scripts/wine-env), so that no other test starts scaled. Wine reads
# a process's DPI from LogPixels when the process starts, but its monitor's
# when its server starts: each DPI gets a server of its own, so the two
# agree, as on Windows. DpiScalingVer makes Wine honour the manifest's
# awareness. Each run records its dialogs for the runs after it.
#   tests/res/scale_test.sh res_test.exe
set -uo pipefail
exe=$1
export SUMWISE_WINE_DPI=1
source "$(dirname "$0")/../../scripts/wine-env"
wine_env_prefix && wine_env_display || exit 1
layouts=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-layouts.XXXXXX")
trap 'rm -rf "$layouts"' EXIT
status=0
for dpi in 96 120 144 192; do
    wineserver -k 2>/dev/null; wineserver -w
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v DpiScalingVer /t REG_DWORD /d 0x1018 /f >/dev/null 2>&1
    wineserver -w
    echo "at $dpi DPI:"
    SUMWISE_ASKED_DPI=$dpi SUMWISE_LAYOUTS="Z:$layouts" "$WINE" "$exe" --gtest_brief=1 \
        --gtest_filter='MainDialog.*:AboutBox.*:Icon.*:DpiChange.*' || status=1
done
exit $status
