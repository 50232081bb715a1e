#!/bin/bash
# End-to-end tests of the real sumwise.exe under Wine: real keyboard input
# from xdotool, fields read back through the clipboard.
#   tests/e2e/e2e_test.sh path/to/sumwise.exe path/to/planted_dll.dll path/to/load_probe.exe \
#       path/to/text_probe.exe path/to/event_probe.exe
set -uo pipefail
exe=$(realpath "$1")
planted=$(realpath "$2")
probe=$(realpath "$3")
text_probe=$(realpath "$4")
event_probe=$(realpath "$5")
SW_TEXT_PROBE=$text_probe
source "$(dirname "$0")/../../scripts/sumwise-drive"

work=$(mktemp -d)
# Nothing the test starts outlives it, even when it fails: the unmanaged
# prefix is the window test's too.
trap 'sw_stop; sw_unmanaged wineserver -k 2>/dev/null; umount "$work/failing" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"

md5() { md5sum "$1" | cut -c1-32; }

# A Downloads folder: a copy of the program beside DLLs named like Windows'
# own non-known DLLs, which Wine is told to prefer from the program's folder,
# as Windows would. The probe loads each name from there, so the plants are
# live. A process that calls into a plant crashes, so Wine's debugger is off.
# Under Wine the probe also loads dwmapi inside the program (docs/security.md).
downloads="$work/Downloads"
plant_names=(uxtheme version msimg32 bcrypt crypt32 compstui zlib1 dwmapi oleacc)
plant_log="$downloads/planted.log"
plant_overrides="$WINEDLLOVERRIDES;winedbg.exe="
export SUMWISE_PLANT_LOG="Z:${plant_log//\//\\}"   # as Wine's Z: drive names it
plant_dlls() {
    local name
    mkdir -p "$downloads"
    cp "$exe" "$probe" "$downloads/"
    for name in "${plant_names[@]}"; do
        cp "$planted" "$downloads/$name.dll"
        # Up to three starts: a Wine start can end without running the probe.
        for _ in 1 2 3; do
            WINEDLLOVERRIDES="$plant_overrides;$name=n,b" timeout 30 "$WINE" "$downloads/$(basename "$probe")" \
                "$name.dll" >/dev/null 2>&1
            grep -qF "\\$name.dll" "$plant_log" 2>/dev/null && break
        done
    done
    check "control: the probe loads every plant" "$(printf '%s\n' "${plant_names[@]}" | sort | xargs)" \
        "$(sed 's/.*\\//; s/\.dll$//' "$plant_log" 2>/dev/null | sort -u | xargs)"
    rm -f "$plant_log"
    plant_overrides+=";$(IFS=,; echo "${plant_names[*]}")=n,b"
}

test_text_enter_and_escape() {
    sw_start "$exe" || { check "main window appears" yes no; return; }
    sw_type "abc"
    sw_key Return
    check "Enter hashes the typed text" 900150983cd24fb0d6963f7d28e17f72 "$(sw_read_hash)"
    check "Enter leaves the window open" yes "$(sw_running && echo yes || echo no)"
    check "Input keeps the text" abc "$(sw_read_input)"
    sw_escape_and_wait
    check "Escape ends the process" no "$(sw_running && echo yes || echo no)"
}

# Run from the Downloads folder beside the plants. The status line says
# whether the digest matches the MD5 the user copied, before the hash or
# after it, and a screen reader's hook in another process hears each verdict.
test_file_lock_and_clear() {
    local file="$work/data file.bin" events="$work/events.log" matches="Matches the copied MD5."
    local differs="Does not match the copied MD5." event_pid
    head -c 100000 /dev/urandom >"$file"
    "$WINE" "$event_probe" 120 >"$events" 2>/dev/null &
    event_pid=$!
    WINEDLLOVERRIDES=$plant_overrides sw_start "$downloads/sumwise.exe" ||
        { check "main window appears" yes no; kill "$event_pid"; return; }
    sw_pick_file "$file"
    local shown
    shown=$(sw_read_input)
    check "Input shows the chosen path" "$("$WINE" winepath -w "$file" | tr -d '\r')" "$shown"
    check "Hash is blank after the choice" "" "$(sw_read_hash)"
    sw_copy "$(md5sum "$file")"
    sleep 1.5
    sw_key alt+h
    check "md5sum's line copied before the hash matches" "$matches" "$(sw_read_status "$matches")"
    sw_copy "MD5 (other) = d41d8cd98f00b204e9800998ecf8427e"
    check "another MD5 copied after the hash does not match" "$differs" "$(sw_read_status "$differs")"
    # Ctrl+C in the Hash field: the clipboard holds the digest, the verdict stays.
    _sw_click_field 31 25 205 14
    xdotool key --delay 40 Home shift+End ctrl+c
    sleep 1.5
    check "a copy from the Hash field takes the digest" "$(md5 "$file")" "$(xclip -o -selection clipboard 2>/dev/null)"
    check "a copy from the Hash field changes no verdict" "$differs" "$(sw_read_status "$differs")"
    sw_copy "$(md5 "$file" | tr a-f A-F)"
    check "the digest copied again, in capitals, matches" "$matches" "$(sw_read_status "$matches")"
    sw_pick_file "$file"
    check "File blanks the verdict" "" "$(sw_read_status "")"
    sw_key alt+h
    check "file digest equals md5sum's" "$(md5 "$file")" "$(sw_read_hash)"

    sw_focus_input
    sw_key End
    sw_type "xyz"
    check "typing in file mode is undone" "$shown" "$(sw_read_input)"

    sw_copy "$(md5sum "$file")"
    check "md5sum's line copied after the hash matches" "$matches" "$(sw_read_status "$matches")"
    sw_key alt+c
    check "Clear blanks the verdict" "" "$(sw_read_status "")"
    check "Clear empties Input" "" "$(sw_read_input)"
    check "Clear empties Hash" "" "$(sw_read_hash)"
    sw_focus_input
    sw_type "abc"
    sw_key alt+h
    check "after Clear the typed text is hashed" 900150983cd24fb0d6963f7d28e17f72 "$(sw_read_hash)"

    # Dropped from X, the file is chosen as File would choose it.
    local dropped="$work/dropped ü.bin"
    head -c 70000 /dev/urandom >"$dropped"
    sw_copy 900150983cd24fb0d6963f7d28e17f72
    check "the typed text's digest copied matches" "$matches" "$(sw_read_status "$matches")"
    sw_drop "$dropped"
    check "a drop blanks the verdict" "" "$(sw_read_status "")"
    check "a dropped file shows in Input" "$("$WINE" winepath -w "$dropped" | tr -d '\r')" "$(sw_read_input)"
    check "a drop hashes nothing" "" "$(sw_read_hash)"
    sw_copy "no checksum here"
    sleep 1.5
    sw_key alt+h
    check "with no MD5 copied the status line is blank" "" "$(sw_read_status "")"
    check "the dropped file's digest equals md5sum's" "$(md5 "$dropped")" "$(sw_read_hash)"
    "$WINE" "$probe" -w dwmapi.dll >/dev/null 2>&1   # from a folder without plants
    check "control: the probe loads dwmapi inside the program" 0 $?
    sw_escape_and_wait
    kill "$event_pid" 2>/dev/null
    wait "$event_pid" 2>/dev/null
    check "a hook in another process hears the status line's verdicts" \
        "1010 $differs|1010 $matches" "$(tr -d '\r' <"$events" | grep -xE "1010 ($matches|$differs)" | sort -u | paste -sd'|')"
}

# F1 reaches the application, which says there is no help in a box of its
# own; once that is closed, the main window takes input again.
test_f1_help() {
    sw_start "$exe" || { check "main window appears" yes no; return; }
    sw_key F1
    local box="" id
    for _ in $(seq 50); do
        for id in $(xdotool search --onlyvisible --name '^Sumwise$' 2>/dev/null); do
            [[ $id != "$SW_WIN" ]] && box=$id
        done
        [[ -n $box ]] && break
        sleep 0.1
    done
    check "F1 opens a box titled Sumwise" yes "$([[ -n $box ]] && echo yes || echo no)"
    [[ -n $box ]] && { xdotool windowfocus "$box" 2>/dev/null; sleep 0.5; xdotool key Return; sleep 0.5; }
    sw_focus
    sw_type "abc"
    sw_key Return
    check "after the help box the window hashes" 900150983cd24fb0d6963f7d28e17f72 "$(sw_read_hash)"
    sw_escape_and_wait
}

# Also with uxtheme off (a Wine override), which the program must do without.
test_arguments_ignored() {
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=;uxtheme=d" sw_start "$exe" 'C:\windows\win.ini' --help /p ||
        { check "main window appears" yes no; return; }
    check "arguments fill no field" "" "$(sw_read_input)"
    sw_focus_input
    sw_type "abc"
    sw_key Return
    check "arguments change no digest" 900150983cd24fb0d6963f7d28e17f72 "$(sw_read_hash)"
    sw_drop "$work/data file.bin"
    sw_key alt+h
    check "without uxtheme a file is hashed" "$(md5 "$work/data file.bin")" "$(sw_read_hash)"
    sw_escape_and_wait
    check "with arguments, Escape still ends it" no "$(sw_running && echo yes || echo no)"
}

# Whether the window takes no messages for ms milliseconds, as while it
# hashes: a message sent from here gets no answer. $1: the prefix's runner.
busy_for() { ! "$1" "$WINE" "$text_probe" Sumwise 1010 "$2" >/dev/null 2>&1; }

# A long hash: a sparse file reads fast and needs no disk, and 8 GiB take
# 10 s or more here. Escape and Alt+F4 pressed 1 s in end the hash and the
# process within 1 s, as when the window is idle, and an Escape pressed in
# another program's window stops nothing. In the unmanaged prefix, where a
# window that closes ends at once. A hash left alone gives md5sum's digest,
# and a message another process sends it meanwhile is answered only after.
# Starts the program in the unmanaged prefix and a hash of $1, and waits
# $2 seconds into it.
start_hash() {
    sw_unmanaged sw_start "$exe" || return
    sw_unmanaged sw_pick_file "$1"
    xdotool key alt+h
    sleep "$2"
}

test_long_hash() {
    local long="$work/long.bin" mid="$work/mid.bin" key notepad answer
    truncate -s 8G "$long"
    truncate -s 1G "$mid"
    head -c 65536 /dev/urandom >>"$mid"

    start_hash "$mid" 0.5 || { check "main window appears" yes no; return; }
    answer=$(sw_unmanaged "$WINE" "$text_probe" Sumwise 1000 | tr -d '\r')
    # Sent mid-hash, answered with the Hash field's text: the digest, so only once the hash was done.
    check "a hash left alone gives md5sum's digest; a message sent meanwhile is answered after it" \
        "$(md5 "$mid")" "${answer#* }"
    sw_escape_and_wait

    for key in Escape alt+F4; do
        start_hash "$long" 1 || { check "main window appears" yes no; return; }
        check "1 s into a long hash the window is busy ($key)" yes "$(busy_for sw_unmanaged 300 && echo yes || echo no)"
        sw_press "$key"
        check "$key during a long hash ends the process within 1 s" yes "$(sw_ends_within 1 && echo yes || echo no)"
        sw_stop
    done

    # By its full path, so Wine runs it in the process it starts: by name it
    # would run it from start.exe, which a kill leaves running.
    sw_unmanaged wine_env_prefix
    SUMWISE_WINE_UNMANAGED=1 WINEPREFIX="$_wine_base_prefix-unmanaged" "$WINE" 'C:\windows\system32\notepad.exe' \
        >/dev/null 2>&1 &
    local notepad_pid=$!
    notepad=$(_sw_find_window 'Untitled - Notepad' 30)
    start_hash "$long" 1 || { check "main window appears" yes no; kill "$notepad_pid"; return; }
    xdotool windowfocus --sync "$notepad" 2>/dev/null
    sleep 0.3
    sw_press Escape
    sleep 1
    check "Escape in another program's window stops no hash" yes "$(busy_for sw_unmanaged 300 && echo yes || echo no)"
    sw_focus
    sw_press Escape
    check "back in the window, Escape ends the hash within 1 s" yes "$(sw_ends_within 1 && echo yes || echo no)"
    sw_stop
    kill "$notepad_pid" 2>/dev/null
    wait "$notepad_pid" 2>/dev/null
    # A window left in the prefix takes the foreground from the window test.
    local gone=no
    for _ in $(seq 50); do
        xdotool search --name '^Untitled - Notepad$' >/dev/null 2>&1 || { gone=yes; break; }
        sleep 0.1
    done
    check "notepad's window goes with its test" yes "$gone"
}

# A read error in the middle of a file, from a filesystem whose file fails
# after 8 MiB (failing_fs.c): "Could not read file." and no digest.
test_read_error() {
    mkdir -p "$work/failing"
    cc -O2 -o "$work/failing_fs" "$(dirname "$0")/failing_fs.c" -I/usr/include/fuse3 -lfuse3 -lpthread &&
        "$work/failing_fs" "$work/failing"
    check "the failing filesystem mounts" yes "$([[ -f $work/failing/bad.bin ]] && echo yes || echo no)"
    sw_start "$exe" || { check "main window appears" yes no; return; }
    sw_pick_file "$work/failing/bad.bin"
    xdotool key alt+h
    local box
    box=$(_sw_find_window ERROR 20)
    check "a read error mid-file brings the error box" "Could not read file." \
        "$("$WINE" "$text_probe" ERROR 65535 2>/dev/null | tr -d '\r' | cut -d' ' -f2-)"
    [[ -n $box ]] && { xdotool windowfocus "$box" 2>/dev/null; sleep 0.5; xdotool key Return; sleep 0.5; }
    sw_focus
    check "a read error mid-file shows no digest" "" "$(sw_read_hash)"
    sw_escape_and_wait
    umount "$work/failing"
}

test_text_enter_and_escape
test_long_hash
test_read_error
plant_dlls
test_file_lock_and_clear
check "no planted DLL loads, at start, in the file dialog, on a drop or by name later" "" "$(tr '\n' ' ' 2>/dev/null <"$plant_log")"
test_f1_help
test_arguments_ignored

check_summary e2e
