#!/usr/bin/env bash
# Runs a checker and fails when it fails; with --silent, also when it reports anything (checkers
# that print findings without failing on them).
# Usage: run-checker.sh [--silent] PROGRAM [ARGUMENTS...]
set -uo pipefail
silent=false
if [[ "${1:-}" == --silent ]]; then
    silent=true
    shift
fi
if ! command -v "$1" >/dev/null 2>&1; then
    echo "FAILED: $1 is missing; scripts/install-deps.sh installs it" >&2
    exit 1
fi
output=$("$@" 2>&1)
status=$?
if [[ $status -ne 0 ]] || { $silent && [[ -n "$output" ]]; }; then
    echo "FAILED: $* (status $status):" >&2
    echo "$output" >&2
    exit 1
fi
echo "passed: $*"
