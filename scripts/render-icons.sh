#!/usr/bin/env bash
# Renders the scalable padlock to the PNG sizes that are kept in the repository beside it. Run it after
# changing share/icons/hicolor/scalable/apps/varnel.svg and commit the PNG files it writes; the build
# only copies them. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../share/icons/hicolor"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2
    exit 1
fi
for size in 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" --output "${size}x${size}/apps/varnel.png" scalable/apps/varnel.svg
done
