#!/bin/sh
# Renders the committed PNG icons from tervela.svg (rsvg-convert, Debian
# package librsvg2-bin), and from them the Windows programs' icon tervela.ico
# (convert, Debian package imagemagick). Run after changing the SVG and commit
# the results.
set -eu
cd "$(dirname "$0")"
for size in 16 32 48 128; do
  rsvg-convert --width "$size" --height "$size" tervela.svg --output "tervela-$size.png"
done
convert tervela-16.png tervela-32.png tervela-48.png tervela-128.png tervela.ico
