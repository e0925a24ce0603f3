#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Arcavio need, when any
# is missing. The one list of the project's system dependencies.
set -euo pipefail

packages=(
    g++ make cmake ninja-build pkg-config python3
    qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
    libjpeg-dev libemf2svg-dev libwmf-dev libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth openbox x11-utils xdotool imagemagick fonts-dejavu-core fonts-urw-base35
    desktop-file-utils appstream groff-base dpkg-dev
    mame
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    run=()
elif command -v sudo >/dev/null 2>&1; then
    run=(sudo)
else
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}) or make sudo available." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update
"${run[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
