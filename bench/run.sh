#!/bin/bash
# make bench: every benchmark, each against a peer measured in the same run,
# then a summary.
#   engine  CMD5 against OpenSSL's MD5, natively (Google Benchmark)
#   speed   the MinGW engine under Wine against the native g++ engine
#   file    the hash command on a cached 1 GiB file through the real main
#           window (file_bench.exe), against md5sum, the two alternating
#   memory  peak working set while hashing a 4 GiB file and a 1 MiB file
# Usage: bench/run.sh [engine|speed|file|memory]...   (default: all four)
# Environment: SUMWISE_NATIVE_BUILD and SUMWISE_WINDOWS_BUILD, the build trees
# (build/native, build/windows); BENCH_DIR, where the files live (build/bench);
# FILE_REPS, repetitions of the file benchmark (7).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${SUMWISE_NATIVE_BUILD:-$root/build/native}
windows=${SUMWISE_WINDOWS_BUILD:-$root/build/windows}
dir=${BENCH_DIR:-$root/build/bench}
reps=${FILE_REPS:-7}
parts=("$@")
mkdir -p "$dir"
[[ ${#parts[@]} -gt 0 ]] || parts=(engine speed file memory)

# The main window is shown and destroyed in process: the unmanaged prefix
# spares the 2 s stall per destroyed window (scripts/wine-env).
export SUMWISE_WINE_UNMANAGED=1
source "$root/scripts/wine-env"
wine_env_prefix || exit 1
wine_env_display || exit 1
# One wineserver for the whole run: a Wine program started without one
# boots the prefix's services beside it, which would be timed too.
wineserver -p
trap '"$root/scripts/wine-stop"' EXIT

summary=()
status=0
fail() { echo "FAIL: $*" >&2; summary+=("FAIL: $*"); status=1; }

# min/median/max of the numbers on standard input, one per line, each
# printed with the format $1.
stats() { sort -g | awk -v f="$1" '{v[NR] = $1} END {printf f "/" f "/" f, v[1], v[int((NR + 1) / 2)], v[NR]}'; }

# A Unix path as Wine's Z: drive names it.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

bench_engine() {
    echo "== CMD5 against OpenSSL MD5, native g++ (Google Benchmark) =="
    "$native/bench/md5_bench" | tee "$dir/md5_bench.txt" || { fail "md5_bench"; return; }
    # The ratio table's rows: bytes, 3 + 3 MB/s figures, median ratio.
    summary+=("engine, native CMD5/OpenSSL median ratio: $(
        awk 'NF == 8 && $1 ~ /^[0-9]+$/ {printf "%s%s B %.2f", sep, $1, $8; sep = ", "}' "$dir/md5_bench.txt")")
}

bench_speed() {
    echo "== CMD5 throughput: MinGW build under Wine against native g++ =="
    local nat win
    nat=$("$native/bench/md5_speed") || { fail "native md5_speed"; return; }
    win=$("$WINE" "$windows/bench/md5_speed.exe" | tr -d '\r') || { fail "md5_speed.exe"; return; }
    printf 'native g++:\n%s\nMinGW under Wine:\n%s\n' "$nat" "$win"
    local line
    # Rows of both tables side by side: bytes, min, median, max, digest.
    line=$(paste <(awk 'NR > 1' <<<"$nat") <(awk 'NR > 1' <<<"$win") | awk '
        $5 != $10 {bad = 1}
        {printf "%s%s B %.0f / %.0f MB/s = %.2f", sep, $1, $8, $3, $8 / $3; sep = ", "}
        END {if (bad) printf " DIGESTS DIFFER"}')
    [[ $line == *DIGESTS* ]] && fail "md5_speed digests differ between the builds"
    echo "Wine/native (medians): $line"
    summary+=("engine, Wine/native median MB/s: $line")
}

bench_file() {
    echo "== Hash Now on a cached 1 GiB file, through the main window, against md5sum =="
    local f="$dir/random-1g.bin" size=$((1 << 30))
    if [[ $(stat -c %s "$f" 2>/dev/null) != "$size" ]]; then
        echo "creating $f (random bytes, once)"
        head -c "$size" /dev/urandom >"$f.tmp" && mv "$f.tmp" "$f" || { fail "cannot create $f"; return; }
    fi
    cat "$f" >/dev/null
    "$WINE" "$windows/bench/file_bench.exe" "$(winpath "$f")" >/dev/null   # warms Wine up

    local i t0 t1 ref tm line secs digest mine=() theirs=() ratios=()
    printf '%4s %14s %14s %8s\n' rep "md5sum MB/s" "Sumwise MB/s" ratio
    for ((i = 1; i <= reps; i++)); do
        t0=$EPOCHREALTIME
        ref=$(md5sum "$f" | cut -c1-32)
        t1=$EPOCHREALTIME
        tm=$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')
        line=$("$WINE" "$windows/bench/file_bench.exe" "$(winpath "$f")" | tr -d '\r')
        read -r secs digest _ <<<"$line"
        [[ $digest == "$ref" ]] || { fail "file digest $digest, md5sum says $ref"; return; }
        theirs+=("$(awk -v s="$tm" -v n="$size" 'BEGIN {print n / s / 1e6}')")
        mine+=("$(awk -v s="$secs" -v n="$size" 'BEGIN {print n / s / 1e6}')")
        ratios+=("$(awk -v a="$tm" -v b="$secs" 'BEGIN {print a / b}')")
        printf '%4d %14.0f %14.0f %8.3f\n' "$i" "${theirs[-1]}" "${mine[-1]}" "${ratios[-1]}"
    done
    local r m s median
    r=$(printf '%s\n' "${ratios[@]}" | stats %.3f)
    m=$(printf '%s\n' "${mine[@]}" | stats %.0f)
    s=$(printf '%s\n' "${theirs[@]}" | stats %.0f)
    median=$(cut -d/ -f2 <<<"$r")
    echo "min/median/max: Sumwise $m MB/s, md5sum $s MB/s, Sumwise/md5sum $r"
    summary+=("file, 1 GiB cached, $reps reps, min/median/max: Sumwise/md5sum $r (goal >= 0.80); Sumwise $m MB/s, md5sum $s MB/s")
    # A goal, not a check: timings on a busy machine say little.
    awk -v r="$median" 'BEGIN {exit !(r >= 0.80)}' || summary+=("file: the median ratio $median is under the goal of 0.80")
}

bench_memory() {
    echo "== Peak working set while hashing a 4 GiB file and a 1 MiB file =="
    local big="$dir/sparse-4g.bin" small="$dir/random-1m.bin" f line peak=()
    # Sparse: the 4 GiB of zeros take no disk.
    [[ $(stat -c %s "$big" 2>/dev/null) == $((4 << 30)) ]] || truncate -s 4G "$big"
    [[ $(stat -c %s "$small" 2>/dev/null) == $((1 << 20)) ]] || head -c 1M /dev/urandom >"$small"
    # Wine fills PeakWorkingSetSize from the process's VmHWM (/proc).
    for f in "$small" "$big"; do
        line=$("$WINE" "$windows/bench/file_bench.exe" "$(winpath "$f")" | tr -d '\r') ||
            { fail "file_bench on $f"; return; }
        peak+=("$(awk '{printf "%.2f", $3 / 1048576}' <<<"$line")")
        printf '%10s bytes: peak working set %6.2f MiB, hashed in %.2f s\n' "$(stat -c %s "$f")" \
            "${peak[-1]}" "${line%% *}"
    done
    local diff
    diff=$(awk -v a="${peak[0]}" -v b="${peak[1]}" 'BEGIN {printf "%.2f", b - a}')
    echo "4 GiB - 1 MiB: $diff MiB (limit 2 MiB)"
    summary+=("memory, peak working set: 1 MiB file ${peak[0]} MiB, 4 GiB file ${peak[1]} MiB, difference $diff MiB (limit 2)")
    awk -v d="$diff" 'BEGIN {exit !(d <= 2 && d >= -2)}' || fail "memory: the peaks differ by $diff MiB"
}

for part in "${parts[@]}"; do
    case $part in
        engine | speed | file | memory) "bench_$part"; echo ;;
        *) echo "usage: bench/run.sh [engine|speed|file|memory]..." >&2; exit 2 ;;
    esac
done

echo "== Summary =="
printf '%s\n' "${summary[@]}"
exit $status
