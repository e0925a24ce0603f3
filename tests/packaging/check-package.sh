#!/usr/bin/env bash
# Builds the Debian package from the existing build tree (cpack, no second build), unpacks it
# into a temporary root and checks its control fields, its file list, and its programs: stripped,
# every library they link provided by a package the control file depends on, the helper drawing.
# Usage: check-package.sh CPACK BUILD_DIR FILE_LIST SAMPLE_WMF VERSION ANSWERS_VERSION SANITIZED
set -uo pipefail
cpack=$1 build=$2 list=$3 sample=$4 version=$5 answers_version=$6 sanitized=$7
source "$(dirname "$0")/common.sh"
if [[ "$sanitized" == ON ]]; then
    echo "SKIPPED: a sanitizer build is not packaged; the release-like build (make test) checks the package" >&2
    exit 77
fi
need dpkg dpkg-deb dpkg-shlibdeps readelf od

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack did not build the package"
    finish
fi
arch=$(dpkg --print-architecture)
deb=$work/out/arcavio_${version}_${arch}.deb
if [[ ! -f "$deb" ]]; then
    fail "no package arcavio_${version}_${arch}.deb; cpack made: $(cd "$work/out" && ls ./*.deb 2>/dev/null)"
    finish
fi

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == arcavio ]] || fail "Package is '$(field Package)'"
[[ "$(field Version)" == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ "$(field Architecture)" == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ "$(field Section)" == games ]] || fail "Section is '$(field Section)'"
[[ "$(field Homepage)" == https://example.org/arcavio/ ]] || fail "Homepage is '$(field Homepage)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
[[ -n "$(field Description | head -n 1)" && $(field Description | wc -l) -gt 1 ]] ||
    fail "the description lacks a summary or a long text"
# Package names only: versions and alternatives dropped.
depends=" $(field Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | tr '\n' ' ') "
[[ "$depends" == *" qt6-qpa-plugins "* ]] || fail "Depends lacks qt6-qpa-plugins, which opens windows: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"
sed 's|^|usr/|' "$list" >"$work/expected"
compare_files "$root" "$work/expected"

for program in "$root/usr/bin/arcavio" "$root/usr/libexec/arcavio/arcavio-metafile"; do
    [[ -x "$program" ]] || continue
    readelf -S "$program" | grep -q '\.debug_info\|\.symtab' && fail "$program is not stripped"
    trace=$(LD_TRACE_LOADED_OBJECTS=1 "$program" 2>&1) || fail "$program does not load: $trace"
    grep -q 'not found' <<<"$trace" && fail "$program lacks libraries: $(grep 'not found' <<<"$trace")"
    for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        # "name => path (address)", or "path (address)" for the dynamic loader.
        path=$(awk -v name="$library" '($1 == name && $2 == "=>") { print $3 }
                                       ($1 ~ "/" name "$") { print $1 }' <<<"$trace" | head -n 1)
        owner=
        if [[ -f "$path" ]]; then
            # Merged /usr: the package may name the library by the other path.
            for candidate in "$path" "$(realpath "$path")" "${path#/usr}" "/usr$path"; do
                owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1)
                [[ -n "$owner" ]] && break
            done
        fi
        if [[ -z "$owner" ]]; then
            fail "no installed package provides $library ($path) of $program"
        elif [[ "$depends" != *" $owner "* ]]; then
            fail "$(basename "$program") links $library from $owner, which Depends lacks"
        fi
    done
done
check_metafile_program "$root/usr/libexec/arcavio/arcavio-metafile" "$sample"

if [[ "$answers_version" == ON ]]; then
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$root/usr/bin/arcavio" --version </dev/null 2>&1)
    status=$?
    [[ $status -eq 0 && "$answer" == "arcavio $version" ]] ||
        fail "the packaged program answers --version with status $status and '$answer'"
else
    echo "NOTE: --version is not asked: the program does not answer it yet (ARCAVIO_ANSWERS_VERSION)"
fi

finish
