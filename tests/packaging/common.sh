# Shared by the install and package checks: sourced, not run.

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

need() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "FAILED: $tool is missing; scripts/install-deps.sh installs it" >&2
            exit 1
        fi
    done
}

# compare_files ROOT EXPECTED_LIST: the regular files and links under ROOT, as paths relative to
# it, must be exactly those of the list.
compare_files() {
    local actual
    actual=$(cd "$1" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
    local expected
    expected=$(LC_ALL=C sort "$2")
    if [[ "$actual" != "$expected" ]]; then
        fail "the installed files differ from $2 (< missing, > unexpected):"
        diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' >&2
    fi
}

# check_metafile_program PROGRAM SAMPLE_WMF: the helper draws the sample, a 100 x 50 picture.
check_metafile_program() {
    local answer
    answer=$("$1" wmf <"$2" 2>/dev/null | head -c 12 | od -An -tu1 | tr -s ' \n' ' ')
    if [[ "$answer" != " 65 86 77 70 100 0 0 0 50 0 0 0 " ]]; then
        fail "$1 did not draw $2 (its answer begins with:$answer)"
    fi
}

finish() {
    if [[ $failures -gt 0 ]]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}
