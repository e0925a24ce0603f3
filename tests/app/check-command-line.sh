#!/usr/bin/env bash
# The program's command line, run as a user runs it and without any display: help, version,
# complaints, the names import, the check of the sets and where an installed copy keeps the game list.
# Usage: check-command-line.sh ARCAVIO FAKE_EMULATOR VERSION
set -uo pipefail
arcavio=$1 fake=$2 version=$3
source "$(dirname "$0")/../packaging/common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Nothing of a window system: what these options do must not need one.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$work/home" "$@"; }
expect() { # expect STATUS OUTPUT_PATTERN COMMAND...
    local want=$1 pattern=$2
    shift 2
    local output status
    output=$(run "$@" 2>&1 </dev/null)
    status=$?
    [[ $status -eq $want ]] || fail "$* ended with status $status, not $want: $output"
    [[ "$output" == *$pattern* ]] || fail "$* said '$output', without '$pattern'"
}

expect 0 "--import-names <EMULATOR>" "$arcavio" --help
expect 0 "--workspace" "$arcavio" -h
[[ "$(run "$arcavio" --version)" == "arcavio $version" ]] || fail "--version says '$(run "$arcavio" --version)'"
expect 0 "arcavio $version" "$arcavio" -v
expect 2 "Unknown option 'frobnicate'" "$arcavio" --frobnicate
expect 2 "no directory $work/missing" "$arcavio" "$work/missing"
expect 2 "--gamelist goes with --import-names" "$arcavio" --gamelist "$work/names.ini"

names=$work/names.ini
printf '[gamelist]\r\npong=My own Pong\r\n' >"$names"
expect 0 "5 game names were added to $names." "$arcavio" --import-names "$fake" --gamelist "$names"
grep -q "^galaxian=Galaxian (Namco set 1)" "$names" || fail "the import did not add galaxian"
grep -q "^pong=My own Pong" "$names" || fail "the import lost the user's name for pong"
cp "$names" "$work/before.ini"
expect 1 "ended with exit code 5" env ARCAVIO_FAKE_EXIT=5 "$arcavio" --import-names "$fake" --gamelist "$names"
expect 1 "$work/no-mame" "$arcavio" --import-names "$work/no-mame" --gamelist "$names"
cmp -s "$names" "$work/before.ini" || fail "a failed import changed the game list"

# Paths reach the file system as the bytes given, and messages show them decoded.
odd=$work/$'g\xff\xfe.ini'
expect 0 "game names were added to $work/gÿþ.ini." "$arcavio" --import-names "$fake" --gamelist "$odd"
[[ -f "$odd" ]] || fail "the game list named by bytes that are not UTF-8 was not written under that name"
[[ -z "$(find "$work" -maxdepth 1 -name $'*\xef\xbf\xbd*')" ]] || fail "a file was written under a changed name"
cp "$fake" "$work/mame"$'\xe9'
expect 0 "reading the set list of $work/mameé" "$arcavio" --import-names "$work/mame"$'\xe9' --gamelist "$names"
mkdir "$work/dir"$'\xe9'
expect 1 "no window can be opened" "$arcavio" "$work/dir"$'\xe9'
expect 2 "no directory $work/missé" "$arcavio" "$work/miss"$'\xe9'

# A bad game list is found before the emulator is asked.
ran=$work/emulator-ran
toolong=$work/$(printf 'n%.0s' {1..300}).ini
for bad in "$work" "$work/missing/names.ini" "$names/names.ini" "$toolong"; do
    expect 1 "Cannot create file $bad" env ARCAVIO_FAKE_LOG="$ran" "$arcavio" --import-names "$fake" --gamelist "$bad"
    [[ ! -e "$ran" ]] || fail "the emulator ran before the game list $bad was refused"
    rm -f "$ran"
done
expect 1 "Cannot create file $toolong: the name is too long" "$arcavio" --import-names "$fake" --gamelist "$toolong"
# One the user may not write: as root, the test becomes another user.
other=()
[[ $(id -u) -eq 0 ]] && other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
mkdir "$work/locked" && printf '[gamelist]\r\n' >"$work/locked/names.ini" && chmod 555 "$work/locked" "$work/locked/names.ini"
mkdir -m 777 "$work/trace" && chmod 755 "$work"
if "${other[@]}" test -x "$fake" -a -x "$arcavio" 2>/dev/null; then
    expect 1 "Cannot create file $work/locked/names.ini" env ARCAVIO_FAKE_LOG="$work/trace/ran" \
        "${other[@]}" "$arcavio" --import-names "$fake" --gamelist "$work/locked/names.ini"
    [[ ! -e "$work/trace/ran" ]] || fail "the emulator ran before the locked game list was refused"
else
    echo "SKIPPED: another user cannot run $arcavio here, so the locked game list is not tried" >&2
fi
chmod 700 "$work"

# Each value option is given once.
for option in --import-names --gamelist --check-sets --rompath; do
    expect 2 "$option can be given only once" "$arcavio" "$option" a "$option=b"
done
# Output that cannot be written is a failure.
run "$arcavio" --help >/dev/full 2>/dev/null
[[ $? -eq 1 ]] || fail "--help onto a full device did not end with status 1"
run "$arcavio" --version >/dev/full 2>/dev/null
[[ $? -eq 1 ]] || fail "--version onto a full device did not end with status 1"
# A window without a display: a message and status 1, not an abort.
expect 1 "no window can be opened: neither DISPLAY nor WAYLAND_DISPLAY is set" "$arcavio"
expect 1 "no window can be opened: the window system could not be reached" \
    env DISPLAY=:4242 QT_QPA_PLATFORM=xcb "$arcavio" "$work"

# The check of the sets: only a recent MAME is asked, and its answers are kept in the user's cache.
expect 2 "--rompath goes with --check-sets" "$arcavio" --rompath "$work"
expect 1 "does not answer as a recent MAME does" "$arcavio" --check-sets "$fake" --rompath "$work"
if [[ -x /usr/games/mame ]]; then
    mkdir -p "$work/roms" && printf 'not a zip' >"$work/roms/pong.zip" && printf 'x' >"$work/roms/nosuchsetatall.zip"
    expect 0 "2 sets in the ROM folders: 0 good, 1 best available, 0 bad, 1 not found." \
        "$arcavio" --check-sets /usr/games/mame --rompath "$work/roms"
    grep -q "pong.zip" "$work/home/.cache/arcavio/set-checks.txt" || fail "the check kept nothing in the cache"
    expect 0 "2 of them were known from an earlier check." "$arcavio" --check-sets /usr/games/mame --rompath "$work/roms"
fi

# An installed copy: bin/ beside share/arcavio keeps the game list in the user's data directory.
mkdir -p "$work/prefix/bin" "$work/prefix/share/arcavio"
cp "$arcavio" "$work/prefix/bin/arcavio"
installed=$work/prefix/bin/arcavio
expect 0 "game names were added to $work/home/.local/share/arcavio/gamelist.ini" "$installed" --import-names "$fake"
expect 0 "game names were added to $work/data/arcavio/gamelist.ini" \
    env XDG_DATA_HOME="$work/data" "$installed" --import-names "$fake"
[[ -f "$work/data/arcavio/gamelist.ini" ]] || fail "no game list in \$XDG_DATA_HOME/arcavio"
# A file where the data directory should be: a clear error, and the file stays as it was.
echo "mine" >"$work/blocked"
mkdir -p "$work/blocked-home/.local"
cp "$work/blocked" "$work/blocked-home/.local/share"
expect 1 "Cannot create the folder $work/blocked-home/.local/share: a file stands in its place" \
    env HOME="$work/blocked-home" "$installed" --import-names "$fake"
cmp -s "$work/blocked" "$work/blocked-home/.local/share" || fail "the file in the data directory's place changed"

finish
