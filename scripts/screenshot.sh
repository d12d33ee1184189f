#!/bin/sh
# Takes a screenshot of the real window under a virtual X server into
# docs/screenshot.png. Builds the program first if needed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/default"
out="$root/docs/screenshot.png"

[ -f "$build/build.ninja" ] || cmake --preset default -S "$root" >/dev/null
cmake --build "$build" --target fibmod >/dev/null
mkdir -p "$root/docs"

# Without a window manager the window opens unframed at the top left and
# fills a screen of its outer size (8800 x 10000 twips at 96 dpi).
xvfb-run --auto-servernum --server-args="-screen 0 587x667x24 -dpi 96" \
    sh -c '"$1" & app=$!
           sleep 3
           import -window root "$2"
           kill "$app"' sh "$build/app/fibmod" "$out"
echo "$out"
