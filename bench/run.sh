#!/bin/bash
# make bench: every benchmark, each against a peer measured in the same run,
# then a summary.
#   engine  CMD5 in each form it can run here against OpenSSL's MD5,
#           natively (Google Benchmark), and the form the engine chose
#   speed   the MinGW engine under Wine against the native g++ engine
#   file    the hash command on a cached 1 GiB file through the real main
#           window (file_bench.exe), against md5sum, openssl md5, the same
#           command without its check for Escape, Alt+F4 and the close box,
#           and the engine alone under Wine, the five taking turns
#   memory  peak working set while hashing a 4 GiB file and a 1 MiB file
#   choice  the form fresh processes choose with both cores kept busy,
#           against the faster form in md5_bench at 1 MiB; and their choice
#           between two emulated forms 1.10 x apart, the faster listed
#           second, as AVX-512 is (md5_speed --emulate)
# Usage: bench/run.sh [engine|speed|file|memory|choice]...   (default: all)
# Environment: SUMWISE_NATIVE_BUILD and SUMWISE_WINDOWS_BUILD, the build trees
# (build/native, build/windows); BENCH_DIR, where the files live (build/bench);
# FILE_REPS, repetitions of the file benchmark (11); CHOICE_RUNS, fresh
# processes under each load (1000).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${SUMWISE_NATIVE_BUILD:-$root/build/native}
windows=${SUMWISE_WINDOWS_BUILD:-$root/build/windows}
dir=${BENCH_DIR:-$root/build/bench}
reps=${FILE_REPS:-11}
runs=${CHOICE_RUNS:-1000}
parts=("$@")
mkdir -p "$dir"
[[ ${#parts[@]} -gt 0 ]] || parts=(engine speed file memory choice)

# The main window is shown and destroyed in process: the unmanaged prefix
# spares the stall per destroyed window (scripts/wine-env).
export SUMWISE_WINE_UNMANAGED=1
source "$root/scripts/wine-env"
wine_env_prefix || exit 1
wine_env_display || exit 1
# One wineserver for the whole run: a Wine program started without one
# boots the prefix's services beside it, which would be timed too.
wineserver -p
# Two processes that keep both cores busy: yes, or a compiler in a loop.
load_pids=()
start_load() {
    local k
    for k in 1 2; do
        case $1 in
            yes) setsid yes >/dev/null & ;;
            compile) setsid bash -c 'while :; do g++ -O2 -std=c++17 -I"$1" -c "$1/bench/md5_bench.cpp" -o "$2"; done' \
                _ "$root" "$dir/load$k.o" >/dev/null 2>&1 & ;;
        esac
        load_pids+=($!)
    done
    sleep 1
}
stop_load() {
    local pid
    for pid in "${load_pids[@]}"; do
        kill -- -"$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    load_pids=()
}

trap 'stop_load; "$root/scripts/wine-stop"' EXIT

summary=()
status=0
fail() { echo "FAIL: $*" >&2; summary+=("FAIL: $*"); status=1; }

# min/median/max of the numbers $2..., each printed with the format $1.
stats() {
    printf '%s\n' "${@:2}" | sort -g |
        awk -v f="$1" '{v[NR] = $1} END {printf f "/" f "/" f, v[1], v[int((NR + 1) / 2)], v[NR]}'
}
# $1 / $2, and MB/s for $size bytes in $1 seconds.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {print a / b}'; }
mbps() { awk -v s="$1" -v n="$size" 'BEGIN {print n / s / 1e6}'; }

# A Unix path as Wine's Z: drive names it.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

engine_table=""
bench_engine() {
    echo "== CMD5 against OpenSSL MD5, native g++ (Google Benchmark) =="
    "$native/bench/md5_bench" | tee "$dir/md5_bench.txt" || { fail "md5_bench"; return; }
    engine_table=$dir/md5_bench.txt
    # The ratio table's rows: bytes, form, 3 + 3 MB/s figures, median ratio.
    local form chosen under
    chosen=$(awk '/^chosen form:/ {sub(/,$/, "", $3); print $3}' "$dir/md5_bench.txt")
    for form in $(awk 'NF == 9 && $1 ~ /^[0-9]+$/ {print $2}' "$dir/md5_bench.txt" | sort -u); do
        summary+=("engine, native CMD5/OpenSSL median ratio, $form form: $(
            awk -v f="$form" 'NF == 9 && $1 ~ /^[0-9]+$/ && $2 == f {printf "%s%s B %.3f", sep, $1, $9; sep = ", "}' \
                "$dir/md5_bench.txt")")
    done
    summary+=("engine, $(grep '^chosen form:' "$dir/md5_bench.txt") (goal: >= 1.05 at 16 KiB and 1 MiB)")
    under=$(awk -v f="$chosen" 'NF == 9 && $2 == f && ($1 == 16384 || $1 == 1048576) && $9 < 1.05 {printf " %s B", $1}' \
        "$dir/md5_bench.txt")
    [[ -n $chosen ]] || fail "md5_bench named no chosen form"
    [[ -z $under ]] || summary+=("  under the goal at$under")
}

bench_speed() {
    echo "== CMD5 throughput: MinGW build under Wine against native g++ =="
    local nat win
    nat=$("$native/bench/md5_speed") || { fail "native md5_speed"; return; }
    win=$("$WINE" "$windows/bench/md5_speed.exe" | tr -d '\r') || { fail "md5_speed.exe"; return; }
    printf 'native g++:\n%s\nMinGW under Wine:\n%s\n' "$nat" "$win"
    local line rows='$1 ~ /^[0-9]+$/'
    # Rows of both tables side by side: bytes, min, median, max, digest.
    line=$(paste <(awk "$rows" <<<"$nat") <(awk "$rows" <<<"$win") | awk '
        $5 != $10 {bad = 1}
        {printf "%s%s B %.0f / %.0f MB/s = %.2f", sep, $1, $8, $3, $8 / $3; sep = ", "}
        END {if (bad) printf " DIGESTS DIFFER"}')
    [[ $line == *DIGESTS* ]] && fail "md5_speed digests differ between the builds"
    echo "Wine/native (medians): $line"
    summary+=("engine, Wine/native median MB/s: $line")
    summary+=("engine natively, $(grep '^chosen form:' <<<"$nat"); under Wine, $(grep '^chosen form:' <<<"$win")")
}

# One repetition of one peer hashing $f ($size bytes): its seconds go into
# secs[peer], its digest is checked against md5sum's ($ref). md5sum and
# openssl are timed from outside, start-up included; Sumwise from the click
# to the digest, and the engine alone on as many bytes from memory (whose
# digest differs), each by the program itself.
time_peer() {
    local peer=$1 t0 out digest seconds form
    t0=$EPOCHREALTIME
    case $peer in
        md5sum) out=$(md5sum "$f") ;;
        openssl) out=$(openssl md5 -r "$f") ;;
        sumwise) out=$("$WINE" "$windows/bench/file_bench.exe" "$(winpath "$f")" | tr -d '\r') ;;
        unchecked) out=$("$WINE" "$windows/bench/file_bench_unchecked.exe" "$(winpath "$f")" | tr -d '\r') ;;
        engine) out=$("$WINE" "$windows/bench/file_bench.exe" --engine "$size" | tr -d '\r') ;;
    esac || { fail "$peer on $f"; return 1; }
    seconds=$(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN {print b - a}')
    case $peer in
        md5sum | openssl) digest=${out:0:32} ;;
        *) read -r seconds digest _ form <<<"$out"; forms[$form]=1 ;;
    esac
    [[ $peer == engine || $digest == "$ref" ]] || { fail "$peer digest $digest, md5sum says $ref"; return 1; }
    secs[$peer]=$seconds
}

bench_file() {
    echo "== Hash Now on a cached 1 GiB file, through the main window, against md5sum, openssl md5, itself without the stop check and the engine alone =="
    local f="$dir/random-1g.bin" size=$((1 << 30))
    if [[ $(stat -c %s "$f" 2>/dev/null) != "$size" ]]; then
        echo "creating $f (random bytes, once)"
        head -c "$size" /dev/urandom >"$f.tmp" && mv "$f.tmp" "$f" || { fail "cannot create $f"; return; }
    fi
    local ref
    ref=$(md5sum "$f" | cut -c1-32)   # also brings the file into the page cache
    "$WINE" "$windows/bench/file_bench.exe" "$(winpath "$f")" >/dev/null   # warms Wine up

    # The five peers take turns, each repetition starting one further on, so
    # that none always runs just after another; the ratios pair Sumwise with
    # each peer in the same repetition.
    local peers=(md5sum openssl sumwise unchecked engine) i k p row=()
    local -A secs mbs ratios forms
    printf '%4s %9s %9s %9s %9s %9s %10s %10s %10s %10s\n' rep md5sum openssl Sumwise unchecked engine \
        "S/md5sum" "S/openssl" "S/uncheck" "S/engine"
    for ((i = 0; i < reps; i++)); do
        for ((k = 0; k < ${#peers[@]}; k++)); do
            time_peer "${peers[(i + k) % ${#peers[@]}]}" || return
        done
        row=()
        for p in "${peers[@]}"; do
            row+=("$(mbps "${secs[$p]}")")
            mbs[$p]+=" ${row[-1]}"
        done
        for p in md5sum openssl unchecked engine; do
            row+=("$(ratio "${secs[$p]}" "${secs[sumwise]}")")
            ratios[$p]+=" ${row[-1]}"
        done
        printf '%4d %9.0f %9.0f %9.0f %9.0f %9.0f %10.3f %10.3f %10.3f %10.3f\n' $((i + 1)) "${row[@]}"
    done

    local all="" entry name goal r median
    # The lists are words, one number each, and are expanded unquoted.
    # shellcheck disable=SC2086
    for p in sumwise md5sum openssl unchecked engine; do
        all+="${all:+, }${p/sumwise/Sumwise} $(stats %.0f ${mbs[$p]})"
    done
    summary+=("file, 1 GiB cached, $reps interleaved reps, MB/s min/median/max: $all")
    summary+=("file, form chosen by Sumwise and the engine alone: ${!forms[*]}")
    # Goals, not checks: timings on a busy machine say little. The engine
    # alone is information: the one-thread 1 KiB read loop pays the kernel's
    # copy, a larger share the faster the engine. The stop check should cost
    # nothing: its ratio within the spread of the others.
    for entry in md5sum:md5sum:1.05 openssl:openssl:1.05 unchecked:"itself without the stop check": \
        engine:"engine alone":; do
        IFS=: read -r p name goal <<<"$entry"
        # shellcheck disable=SC2086
        r=$(stats %.3f ${ratios[$p]})
        median=$(cut -d/ -f2 <<<"$r")
        summary+=("Sumwise / $name: median $median, min/max $(cut -d/ -f1,3 <<<"$r")${goal:+ (goal: median >= $goal)}")
        [[ -z $goal ]] || awk -v r="$median" -v g="$goal" 'BEGIN {exit !(r >= g)}' ||
            summary+=("  under the goal by $(awk -v r="$median" -v g="$goal" 'BEGIN {printf "%.1f %%", (g - r) / g * 100}')")
    done
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

# How many of $runs fresh runs of the command $2... print a line starting $1.
count_choices() {
    local i
    for ((i = 0; i < runs; i++)); do "${@:2}"; done | grep -c "^$1"
}

bench_choice() {
    echo "== The form $runs fresh processes choose, both cores kept busy, against the faster one at 1 MiB =="
    local table=$engine_table faster gap load count emulated
    if [[ -z $table ]]; then
        table=$dir/md5_bench_1m.txt
        "$native/bench/md5_bench" --benchmark_filter='/1048576$' >"$table" || { fail "md5_bench"; return; }
    fi
    # The forms' medians at 1 MiB: the faster, and how far ahead it is.
    read -r faster gap < <(awk 'NF == 9 && $1 == 1048576 {m[$2] = $4}
        END {for (f in m) if (m[f] > b) {s = b; b = m[f]; bf = f} else if (m[f] > s) s = m[f]
             if (s > 0) printf "%s %.3f\n", bf, b / s}' "$table")
    # The goal holds where the forms are 1.10 x apart or more; closer, the
    # margin lets the portable form win a measurement of the other's by 5 %.
    local goal="goal: >= 999 of 1000"
    if [[ -z $faster ]]; then
        summary+=("choice: one form runs here, so there is nothing to choose")
    else
        awk -v g="$gap" 'BEGIN {exit !(g >= 1.10)}' || goal="no goal: the forms are less than 1.10 x apart"
        echo "faster at 1 MiB: $faster, $gap x the other"
    fi
    for load in yes compile; do
        start_load "$load"
        if [[ -n $faster ]]; then
            count=$(count_choices "chosen form: $faster," "$native/bench/md5_speed" --choose)
            echo "under $load: $count of $runs chose $faster"
            summary+=("choice, $load load: $count of $runs fresh processes chose the faster form, $faster, $gap x the other at 1 MiB ($goal)")
        fi
        emulated=$(count_choices "emulated choice: faster" "$native/bench/md5_speed" --emulate 1.10)
        stop_load
        echo "under $load, emulated: $emulated of $runs chose the faster"
        summary+=("choice, $load load, emulated: $emulated of $runs fresh processes chose the faster of two forms 1.10 x apart, listed second (goal: >= 999 of 1000)")
    done
}

for part in "${parts[@]}"; do
    case $part in
        engine | speed | file | memory | choice) "bench_$part"; echo ;;
        *) echo "usage: bench/run.sh [engine|speed|file|memory|choice]..." >&2; exit 2 ;;
    esac
done

echo "== Summary =="
printf '%s\n' "${summary[@]}"
exit $status
