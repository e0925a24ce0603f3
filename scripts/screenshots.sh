#!/usr/bin/env bash
# Renews the README's pictures in docs/screenshots/: the main window with the built-in look and
# with the example skin, the configuration editor and the select-game dialog. It runs a copy of
# the built program on the demo workspace, on an X server and window manager of its own (Xvfb
# and openbox on a free display), drives it with xdotool and crops each picture to the window
# and its frame. Nothing in the build tree is changed.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (after make; default build)
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD

if [[ "${1:-}" != --on-display ]]; then
    build=$(realpath "${1:-build}")
    for file in arcavio arcavio-metafile gamelist.ini demo; do
        [[ -e "$build/$file" ]] || { echo "screenshots.sh: $build/$file is missing; run make first" >&2; exit 1; }
    done
    exec tests/desktop/with-window-manager.sh "$source/scripts/screenshots.sh" --on-display "$build"
fi
build=$2
for tool in xdotool xprop xwininfo import; do
    command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing; scripts/install-deps.sh installs it" >&2; exit 1; }
done

out=$source/docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
program=
quit() {
    if [[ -n "$program" ]]; then
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
        program=
    fi
}
trap 'quit; rm -rf "$work"' EXIT

# A portable copy of the program with its game list (and later its skin) beside it. The demo
# configurations that every build has (not the one that needs a real emulator) go into a
# workspace of their own, with the demo emulator and pictures under paths relative to it, so that
# no path of this machine shows.
mkdir -p "$work/app" "$work/workspace/mame" "$work/workspace/images"
cp "$build/arcavio" "$build/arcavio-metafile" "$build/gamelist.ini" "$work/app/"
cp -r "$build/demo-mame/mame" "$build/demo-mame/ROMS" "$work/workspace/mame/"
cp "$build"/images/* "$work/workspace/images/"
for config in "Arcade Classics" "Star Fury" "Vector Night"; do
    sed "s|$build/demo-mame/|mame/|; s|$build/images/|images/|" "$build/demo/$config.av2" \
        >"$work/workspace/$config.av2"
done

start() {
    (cd "$work/workspace" && exec "$work/app/arcavio") >"$work/arcavio.log" 2>&1 &
    program=$!
    main=$(wait_window '^Arcavio 2$')
    select_first
}

# The first configuration selected: its picture and about text show.
select_first() {
    key "$main" Home
}

# wait_window TITLE_PATTERN: the id of the visible window whose title matches, once it is mapped.
wait_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [[ -n "$id" ]] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "screenshots.sh: no window '$1' appeared; the program said:" >&2
    cat "$work/arcavio.log" >&2
    exit 1
}

# shoot WINDOW NAME: docs/screenshots/NAME.png, the window with its frame.
shoot() {
    sleep 0.7 # let the window finish painting
    local x y width height left right top bottom
    eval "$(xwininfo -id "$1" | awk -F': *' '/Absolute upper-left X/ { print "x=" $2 }
        /Absolute upper-left Y/ { print "y=" $2 } /^ *Width/ { print "width=" $2 } /^ *Height/ { print "height=" $2 }')"
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
    import -window root -crop "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
        +repage -strip "$out/$2.png"
    echo "wrote docs/screenshots/$2.png"
}

key() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers "${@:2}"
}

# close WINDOW: as its frame's close button does (openbox's Alt+F4), and wait until it is gone.
close() {
    key "$1" alt+F4
    for _ in $(seq 50); do
        xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
        sleep 0.1
    done
    echo "screenshots.sh: window $1 did not close" >&2
    exit 1
}

start
shoot "$main" main-window
# The editor before Run: Run leaves the ROM folder as the working directory, where the relative
# picture path of the configuration no longer leads.
key "$main" shift+Return
editor=$(wait_window '^Edit Configuration$')
shoot "$editor" editor
close "$editor"
select_first # the list is read again when the editor closes
key "$main" Return # the first configuration fixes no game: Run asks for one
games=$(wait_window '^Select Game$')
shoot "$games" select-game
close "$games"
quit

cp -r "$source/skins/neon" "$work/app/skin"
start
shoot "$main" main-window-skin
