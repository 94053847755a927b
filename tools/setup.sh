#!/usr/bin/env bash
# Installs what the launcher needs to build, run and be tested, from Debian's packages.
# Only missing packages are installed; run as root or with sudo available.
set -euo pipefail

PACKAGES=(
    # build
    cmake ninja-build g++ pkg-config
    libgtk-3-dev libwebkit2gtk-4.1-dev libx11-dev libpng-dev
    libgtest-dev libbenchmark-dev
    # running: fonts with CJK glyphs, the demo site
    fonts-noto-cjk fonts-dejavu-core python3
    # the end-to-end tests' desktop
    xvfb xauth openbox xcompmgr hsetroot xdotool x11-utils wmctrl imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
