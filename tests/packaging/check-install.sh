#!/usr/bin/env bash
# Installs the build tree with DESTDIR into a temporary folder under a prefix of its own and
# checks what arrives there: the file list, the icon sizes, the desktop entry and metadata
# pointing at what is installed, and the installed program finding its metafile helper.
# Usage: check-install.sh CMAKE BUILD_DIR FILE_LIST METAFILE_FINDER SAMPLE_WMF VERSION
set -uo pipefail
cmake=$1 build=$2 list=$3 finder=$4 sample=$5 version=$6
source "$(dirname "$0")/common.sh"
need appstreamcli gzip od

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
prefix=/opt/arcavio-test
if ! DESTDIR=$root "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    fail "cmake --install did not succeed"
    finish
fi
installed=$root$prefix

# Nothing may land outside DESTDIR and the prefix.
sed "s|^|${prefix#/}/|" "$list" >"$work/expected"
compare_files "$root" "$work/expected"

for png in "$installed"/share/icons/hicolor/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    header=$(od -An -tu1 -N24 "$png" | tr -s ' \n' ' ')
    read -r -a bytes <<<"$header"
    width=$(((bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) | bytes[19]))
    height=$(((bytes[20] << 24) | (bytes[21] << 16) | (bytes[22] << 8) | bytes[23]))
    [[ "${bytes[*]:0:4}" == "137 80 78 71" ]] || fail "$png is not a PNG picture"
    [[ "${width}x${height}" == "$size" ]] || fail "$png is ${width}x${height}, not $size"
done

entry=$installed/share/applications/org.example.Arcavio.desktop
for key in Exec TryExec; do
    program=$(sed -n "s/^$key=\([^ ]*\).*/\1/p" "$entry")
    [[ -x "$installed/bin/$program" ]] || fail "the desktop entry's $key names '$program', which is not installed in bin/"
done
icon=$(sed -n 's/^Icon=//p' "$entry")
for folder in "$installed"/share/icons/hicolor/*/apps; do
    ls "$folder/$icon".* >/dev/null 2>&1 || fail "no icon '$icon' in $folder"
done

metainfo=$installed/share/metainfo/org.example.Arcavio.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$metainfo" ||
    fail "the metadata does not launch $(basename "$entry")"
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\">" "$metainfo" ||
    fail "the metadata has no dated release $version"
appstreamcli validate-tree --no-net --strict "$installed" >"$work/tree.log" 2>&1 ||
    { cat "$work/tree.log" >&2; fail "appstreamcli validate-tree rejects the installed tree"; }

page=$installed/share/man/man1/arcavio.1.gz
gzip -t "$page" 2>/dev/null && gzip -dc "$page" | grep -q "^\.TH ARCAVIO 1 .*\"Arcavio $version\"" ||
    fail "$page is not the compressed manual page of version $version"

# A program in the installed bin/ looks for the helper where the install put it, and it draws.
cp "$finder" "$installed/bin/"
found=$("$installed/bin/$(basename "$finder")")
[[ "$found" == "$installed/libexec/arcavio/arcavio-metafile" ]] ||
    fail "an installed program looks for the metafile helper at '$found'"
if [[ -x "$found" ]]; then
    check_metafile_program "$found" "$sample"
else
    fail "no metafile helper program at $found"
fi

finish
