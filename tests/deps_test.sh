#!/bin/bash
# scripts/install-deps where it cannot install: not root and no sudo, or
# apt-get failing (no route to the mirror). Each must name the missing
# packages and the command that installs them, and fail; stub commands
# stand in for dpkg-query, id, sudo and apt-get.
set -uo pipefail
deps="$(cd "$(dirname "$0")/.." && pwd)/scripts/install-deps"
source "$(dirname "$0")/e2e/check.sh"
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$stubs/$1"; chmod +x "$stubs/$1"; }
stub dpkg-query 'echo "unknown ok not-installed"'

try() { # name, then the id and sudo stubs
    stub id "echo $2"
    stub sudo "$3"
    stub apt-get 'echo "E: Failed to fetch http://deb.debian.org/debian (No route to host)" >&2; exit 100'
    local out status
    out=$(PATH="$stubs:$PATH" "$deps" run </dev/null 2>&1); status=$?
    check "$1: fails" 1 "$status"
    check "$1: names a missing package" yes "$(grep -q 'missing packages:.*wine64' <<<"$out" && echo yes || echo no)"
    check "$1: gives the install command" yes \
        "$(grep -q 'sudo apt-get update && sudo apt-get install -y .*xvfb' <<<"$out" && echo yes || echo no)"
}
try "not root, sudo wants a password" 1000 'exit 1'
try "root, no route to the mirror" 0 'exit 1'
check_summary deps
