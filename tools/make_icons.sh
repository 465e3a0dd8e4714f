#!/bin/sh
# Makes the PNG sizes of the program's icon from its SVG (rsvg-convert, Debian package librsvg2-bin).
# Run after changing the SVG and commit the PNGs with it.
set -e
dir=$(dirname "$0")/../packaging/linux/icons
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w $size -h $size "$dir/com.tolvane.Orvantis.svg" -o "$dir/com.tolvane.Orvantis-$size.png"
done
