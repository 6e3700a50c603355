#!/bin/sh
# Renders the program icon into the hicolor PNG sizes that desktops and the
# window system ask for. The PNGs are kept in the repository, so building the
# program never needs this script; run it again after changing vorlisk.svg.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
command -v rsvg-convert >/dev/null 2>&1 || {
    echo "render-icons.sh: rsvg-convert not found; install librsvg2-bin" >&2
    exit 1
}
for size in 16 22 24 32 48 64 128 256; do
    dir="hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
        --output "$dir/vorlisk.png" vorlisk.svg
done
