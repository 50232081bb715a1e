# Sourced by the end-to-end scripts: counts checks and prints the closing
# "N passed, N failed" line.
passed=0
failed=0

check() { # name expected actual
    if [[ $2 == "$3" ]]; then
        passed=$((passed + 1)); echo "ok   $1"
    else
        failed=$((failed + 1)); echo "FAIL $1: expected '$2', got '$3'"
    fi
}

# Prints the summary under the given label; fails when any check did.
check_summary() {
    echo "$1: $passed passed, $failed failed"
    [[ $failed -eq 0 ]]
}
