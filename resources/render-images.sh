#!/usr/bin/env bash
# Renders the bitmaps kept beside their SVG sources: the logo and the program icon in the
# sizes the desktop's icon theme looks up (16 to 256 pixels). Run it after editing one of
# the SVGs and commit the PNGs with it. The text of the logo needs the Liberation Sans
# font. With a built qrbtool (QRBTOOL, or the dev build's) it also draws the print sheet
# of the sample library shown in the help.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"

if ! command -v rsvg-convert >/dev/null; then
    echo "render-images: rsvg-convert is missing (Debian package librsvg2-bin)" >&2
    exit 1
fi

rsvg-convert -w 284 -h 125 images/logo.svg -o images/logo.png
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w $size -h $size icons/app.svg -o icons/qrbtexteditor-$size.png
done
# Lossless; keeps the package and the repository small.
if command -v optipng >/dev/null; then
    optipng -quiet -o7 icons/qrbtexteditor-*.png
fi
echo "render-images: images/logo.png icons/qrbtexteditor-{16..256}.png"

qrbtool=${QRBTOOL:-../build/dev/src/cli/qrbtool}
if [ -x "$qrbtool" ]; then
    out=$(mktemp -d)
    "$qrbtool" sheet --page 148x210 --landscape --tile-size 28 --gap 3 --copies 2 --dpi 60 \
        samples/sample.qrb "$out/sheet.png" >/dev/null
    mv "$out/sheet-1.png" images/sheet.png
    rmdir "$out"
    echo "render-images: images/sheet.png"
fi
