#!/bin/sh
# Remakes packaging/windows/printset.ico, the window program's icon, from
# packaging/printset.svg at the sizes Windows shows (16 to 256 pixels).
# Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 256; do
  rsvg-convert --width "$size" --height "$size" --output "$work/$size.png" "$here/../printset.svg"
done
# The large size stays PNG inside the icon, as Windows expects it.
icotool --create --output "$here/printset.ico" "$work/16.png" "$work/24.png" "$work/32.png" "$work/48.png" \
  --raw "$work/256.png"
echo "made $here/printset.ico"
