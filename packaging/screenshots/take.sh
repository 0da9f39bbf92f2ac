#!/usr/bin/env bash
# Takes the window screenshot the software centre shows (window.png beside this script):
# the editor on the bundled sample library, with a line of text being placed on the
# working tile. Needs an editor build (EDITOR_BINARY, or the release build's) and the
# packages xvfb, xauth, xdotool, imagemagick and optipng. Commit the PNG after running it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$here/../.."
editor=$(realpath "${EDITOR_BINARY:-$root/build/release/src/qrbtexteditor}")
sample="$root/resources/samples/sample.qrb"
raw=$(mktemp --suffix .png)
trap 'rm -f "$raw"' EXIT

export RAW="$raw"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1" "$2" & pid=$!
    sleep 4
    win=$(xdotool search --pid $pid --onlyvisible --name . | tail -n 1)
    xdotool windowfocus --sync "$win"
    xdotool type --delay 30 "Harbour"
    sleep 1
    import -window root "$RAW"
    kill $pid
' take "$editor" "$sample"

# No window manager runs, so the window is the only thing on a black screen: cut it out.
convert "$raw" -trim +repage "$here/window.png"
optipng -quiet -o7 -strip all "$here/window.png"
echo "take: $here/window.png ($(identify -format '%wx%h' "$here/window.png"))"
